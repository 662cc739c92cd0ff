#include <gtest/gtest.h>

#include <vector>

#include "rules/calibration_stats.h"

namespace {

TEST(CalibrationStats, NearestClickAndOffset)
{
    // Clicks at 1500, 2000, ..., 9000.
    struct Case {
        int tapMs;
        int click;
        int offset;
    };
    const Case cases[] = {
        {1500, 0, 0},     {1540, 0, 40},   {1460, 0, -40},  {0, 0, -1500},   // before the first click
        {1749, 0, 249},   {1750, 0, 250},  {1751, 1, -249},                  // halfway stays with the earlier
        {2000, 1, 0},     {8990, 15, -10}, {9000, 15, 0},   {9400, 15, 400}, // past the last click
        {-200, 0, -1700},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(nearestClick(c.tapMs, 1500, 500, 16), c.click) << c.tapMs;
        EXPECT_EQ(tapOffsetMs(c.tapMs, 1500, 500, 16), c.offset) << c.tapMs;
    }
    EXPECT_EQ(nearestClick(5000, 1500, 500, 0), 0) << "no clicks";
    EXPECT_EQ(nearestClick(5000, 1500, 0, 16), 0) << "no interval";
}

TEST(CalibrationStats, MedianAndSpread)
{
    struct Case {
        const char *name;
        std::vector<int> values;
        double median;
        double spread;
    };
    const Case cases[] = {
        {"none", {}, 0.0, 0.0},
        {"one", {37}, 37.0, 0.0},
        {"odd count, any order", {9, 1, 4, 6, 2, 2, 1}, 2.0, 1.0},
        {"even count takes the middle two", {40, 30, 50, 20, 40, 60, -10, 40}, 40.0, 10.0},
        {"even count between two values", {10, 20, 30, 40}, 25.0, 10.0},
        {"negative offsets", {-30, -50, -40}, -40.0, 10.0},
        {"one stray tap moves neither", {40, 41, 39, 40, 300}, 40.0, 1.0},
        {"half milliseconds", {-1, 0, 1, 2}, 0.5, 1.0},
    };
    for (const Case &c : cases) {
        const int count = static_cast<int>(c.values.size());
        EXPECT_DOUBLE_EQ(medianOf(c.values.data(), count), c.median) << c.name;
        EXPECT_DOUBLE_EQ(medianAbsoluteDeviation(c.values.data(), count), c.spread) << c.name;
    }
}

TEST(CalibrationStats, RoundedToWholeMilliseconds)
{
    const std::pair<double, int> cases[] = {{0.0, 0},   {2.4, 2},   {2.5, 3},   {-2.5, -3},
                                            {-2.4, -2}, {40.5, 41}, {-0.5, -1}, {299.6, 300}};
    for (const auto &[ms, rounded] : cases)
        EXPECT_EQ(roundedMs(ms), rounded) << ms;
}

} // namespace
