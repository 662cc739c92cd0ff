// The built game calibrated as a player would: C on the title, space in time with the clicks,
// Enter; the result comes back in the trace and in conf.ini.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/game_process.h"

using namespace std::chrono_literals;

namespace {

class CalibrationEndToEnd : public testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
            GTEST_SKIP() << "needs a display (scripts/test.sh starts Xvfb)";
    }
};

std::vector<int> tracedOffsets(const std::string &text)
{
    std::vector<int> offsets;
    const std::regex tap(" calibrate tap -?[0-9]+ offset=(-?[0-9]+)\n");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), tap); it != std::sregex_iterator(); ++it)
        offsets.push_back(std::stoi((*it)[1]));
    return offsets;
}

TEST_F(CalibrationEndToEnd, TapsInTimeWithTheClicksSaveTheirMedian)
{
    GameProcess game;
    game.install(true);
    size_t at = game.startAtTitle();
    ASSERT_NE(at, std::string::npos) << game.trace();

    ASSERT_TRUE(pressKey("c", 80ms));
    at = game.waitForTrace(" state Calibrate\n", at, 5s);
    ASSERT_NE(at, std::string::npos) << game.trace();

    // The count-in takes a second and a half; the first measured click sets the beat.
    at = game.waitForTrace(" calibrate click 1500\n", at, 10s);
    ASSERT_NE(at, std::string::npos) << game.trace();
    const auto firstClick = std::chrono::steady_clock::now();
    for (int k = 1; k <= 12; k++) {
        std::this_thread::sleep_until(firstClick + k * 500ms);
        ASSERT_TRUE(pressKey("space", 40ms));
    }
    at = game.waitForTrace(" calibrate click 9000\n", at, 10s);
    ASSERT_NE(at, std::string::npos) << game.trace();

    ASSERT_TRUE(pressKey("Return", 80ms));
    const size_t result = game.waitForTrace(" calibrate result offset=-?[0-9]+ spread=[0-9]+ taps=[0-9]+\n", at, 5s);
    ASSERT_NE(result, std::string::npos) << game.trace();
    ASSERT_NE(game.waitForTrace(" state Title\n", result, 5s), std::string::npos) << game.trace();

    const std::string text = game.trace();
    std::smatch match;
    const std::string tail = text.substr(at);
    ASSERT_TRUE(std::regex_search(tail, match,
                                  std::regex(" calibrate result offset=(-?[0-9]+) spread=([0-9]+) taps=([0-9]+)\n")));
    const int offset = std::stoi(match[1]);
    const int taps = std::stoi(match[3]);

    // Every tap traced was counted, near its click, and the saved offset is their median. A press
    // that a loaded machine delays beyond half an interval is no tap, so not all 12 need count.
    std::vector<int> offsets = tracedOffsets(text);
    EXPECT_GE(taps, 8) << text;
    EXPECT_LE(taps, 12) << text;
    ASSERT_EQ(offsets.size(), size_t(taps)) << text;
    for (int tapOffset : offsets)
        EXPECT_LE(std::abs(tapOffset), 250) << text;
    std::sort(offsets.begin(), offsets.end());
    const size_t middle = offsets.size() / 2;
    const double median = offsets.size() % 2 == 1 ? offsets[middle] : (offsets[middle - 1] + offsets[middle]) / 2.0;
    EXPECT_EQ(offset, static_cast<int>(std::lround(median))) << text;

    EXPECT_NE(text.find(" config AudioOffset=" + std::to_string(offset) + "\n", result), std::string::npos) << text;
    std::ifstream conf(game.folder.file("conf.ini"));
    std::stringstream confText;
    confText << conf.rdbuf();
    EXPECT_NE(confText.str().find("AudioOffset=" + std::to_string(offset)), std::string::npos) << confText.str();

    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(pressKey("Escape", 80ms));
    ASSERT_TRUE(game.exitsWithin(5000ms)) << game.trace();
    EXPECT_EQ(game.exitStatus, 0) << game.trace();
}

} // namespace
