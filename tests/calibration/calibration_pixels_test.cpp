// The calibration screen drawn into a real window and read back; its screenshot is the one the
// player's guide shows (docs/img/calibration.png is a copy of build/screenshots/calibration.png).
#include <gtest/gtest.h>

#include <cmath>

#include "app/app_context.h"
#include "gfx/calibration_screen.h"
#include "gfx/render_frame.h"
#include "render/chart_setup.h"
#include "render/frame_capture.h"
#include "rules/calibration_state.h"
#include "rules/calibration_stats.h"

namespace {

constexpr uint32_t Now = 2000000;

int pixelX(double viewX) { return static_cast<int>(std::lround((viewX + 1.0) * (WindowWidth / 2))); }
int pixelY(double viewY) { return static_cast<int>(std::lround((window.aspect - viewY) * (WindowWidth / 2))); }

bool isOrange(const Rgb &p) { return p.r > 200 && p.g > 90 && p.g < 190 && p.b < 100; }
bool isBlue(const Rgb &p) { return p.b > 200 && p.r < 120; }

class CalibrationPixels : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(openRenderWindow()) << "needs a display (run under xvfb-run)";
        resetAppContext();
        useClientSize(WindowWidth, WindowHeight);
        menu.state = Calibrate;
    }

    void TearDown() override
    {
        calibration = CalibrationState{};
        resetAppContext();
    }

    void tapped(std::initializer_list<int> offsets)
    {
        calibration = CalibrationState{};
        for (int offset : offsets)
            calibration.offsets[calibration.tapCount++] = offset;
        calibration.medianMs = medianOf(calibration.offsets, calibration.tapCount);
        calibration.spreadMs = medianAbsoluteDeviation(calibration.offsets, calibration.tapCount);
    }

    Capture render(const char *screenshot) { return drawCheckedFrame(Now, screenshot); }
};

TEST_F(CalibrationPixels, DotsOnTheScaleAndTheMedianMarked)
{
    tapped({35, 42, 28, 51, 40, -90, 38, 66, 44, 30, 200});
    calibration.clicksHeard = 13;
    const Capture capture = render("calibration");
    const int scaleRow = pixelY(calibrationScaleY(window.aspect));

    const int early = pixelX(calibrationScaleX(-90));
    EXPECT_GT(early, pixelX(-0.75)) << "early taps lie left of centre";
    EXPECT_LT(early, pixelX(0.0));
    EXPECT_TRUE(isOrange(capture.at(early, scaleRow))) << "the dot of -90 ms";
    EXPECT_TRUE(isOrange(capture.at(pixelX(0.75) + 2, scaleRow)))
        << "200 ms sits on the late end, drawn larger as the latest";
    EXPECT_FALSE(isOrange(capture.at(pixelX(calibrationScaleX(-40)), scaleRow))) << "no tap there";

    const int median = pixelX(calibrationScaleX(calibration.medianMs));
    EXPECT_EQ(median, pixelX(40.0 / 150.0 * 0.75));
    EXPECT_TRUE(isBlue(capture.at(median, scaleRow - 20))) << "the median's marker stands above the scale";
    EXPECT_FALSE(isBlue(capture.at(pixelX(calibrationScaleX(-40)), scaleRow - 20)));
}

TEST_F(CalibrationPixels, HeardClicksLightUp)
{
    calibration.clicksHeard = 5;
    const Capture capture = render("calibration_before_taps");
    const int row = pixelY(calibrationLightsY(window.aspect));
    const double step = 2.0 * 0.85 / (AllClicks - 1);
    EXPECT_TRUE(isOrange(capture.at(pixelX(-0.85 + 4 * step), row))) << "the fifth click, heard";
    EXPECT_FALSE(isOrange(capture.at(pixelX(-0.85 + 5 * step), row))) << "the sixth, still to come";
    EXPECT_FALSE(isBlue(capture.at(pixelX(0.0), pixelY(calibrationScaleY(window.aspect)) - 20))) << "no median yet";
}

} // namespace
