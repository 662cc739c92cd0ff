// The built game calibrated as a player would: C on the title, space in time with the clicks,
// Enter; the result comes back in the trace and in conf.ini.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "support/game_test.h"

using namespace std::chrono_literals;

namespace {

using CalibrationEndToEnd = GameTest;

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
    game.install(true);
    ASSERT_NO_FATAL_FAILURE(startToTitle());
    ASSERT_NO_FATAL_FAILURE(pressFor("c", " state Calibrate\n"));

    // The count-in takes a second and a half; the first measured click sets the beat.
    ASSERT_NO_FATAL_FAILURE(waitFor(" calibrate click 1500\n", 10s));
    const auto firstClick = std::chrono::steady_clock::now();
    for (int k = 1; k <= 12; k++) {
        std::this_thread::sleep_until(firstClick + k * 500ms);
        ASSERT_TRUE(pressKey("space", 40ms));
    }
    ASSERT_NO_FATAL_FAILURE(waitFor(" calibrate click 9000\n", 10s));

    const std::regex resultLine(" calibrate result offset=(-?[0-9]+) spread=([0-9]+) taps=([0-9]+)");
    ASSERT_NO_FATAL_FAILURE(pressFor("Return", " calibrate result offset=-?[0-9]+ spread=[0-9]+ taps=[0-9]+\n"));
    const size_t result = seen;
    std::smatch match;
    const std::string resultText = lastLine();
    ASSERT_TRUE(std::regex_search(resultText, match, resultLine)) << resultText;
    ASSERT_NO_FATAL_FAILURE(waitFor(" state Title\n", 5s));
    const std::string text = game.trace();
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
    const std::string conf = readWholeFile(game.folder.file("conf.ini"));
    EXPECT_NE(conf.find("AudioOffset=" + std::to_string(offset)), std::string::npos) << conf;

    std::this_thread::sleep_for(300ms);
    ASSERT_NO_FATAL_FAILURE(quitFromTitle());
}

} // namespace
