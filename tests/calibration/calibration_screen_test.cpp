// The calibration screen on the fake platform: frames of 10 ms with the mixer pulled in step, so
// the calibration clock is known to the millisecond and taps land at chosen times.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "audio/calibration_clicks.h"
#include "game/calibration_tap.h"
#include "game/menus.h"
#include "platform/fake/fake_platform.h"
#include "platform/keys.h"
#include "platform/paths.h"
#include "rules/calibration_state.h"
#include "support/calibration_frames.h"
#include "support/scratch_folder.h"

namespace {

constexpr int FrameMs = CalibrationFrames::FrameMs;

std::string confPath() { return exeDirectory() + "/conf.ini"; }

class CalibrationScreen : public ::testing::Test {
protected:
    CalibrationFrames frames;

    void SetUp() override
    {
        CalibrationFrames::startGame();
        std::remove(confPath().c_str());
        testing::internal::CaptureStderr();
        fakeTapKey(KeyC);
        updateMenus();
        ASSERT_EQ(menu.state.load(), Calibrate);
    }

    void TearDown() override
    {
        stopCalibrationClicks();
        std::remove(confPath().c_str());
    }

    // The frames up to the clock time `ms`; `key` is tapped in the last of them.
    void runUntil(int ms, int key = 0)
    {
        while (frames.clockMs + FrameMs <= ms) {
            frames.advance();
            if (frames.clockMs == ms && key != 0)
                fakeTapKey(key);
            updateMenus();
        }
    }

    // Taps space this far from each of the measured clicks in turn, from the first.
    void tapAround(const std::vector<int> &offsets)
    {
        for (size_t i = 0; i < offsets.size(); i++)
            runUntil(FirstMeasuredClickMs + int(i) * ClickIntervalMs + offsets[i], KeySpace);
    }
};

// Offsets whose median is 40 and spread 10.
const std::vector<int> EightTaps = {40, 30, 50, 20, 40, 60, -10, 40};

TEST_F(CalibrationScreen, TapsAreMeasuredAgainstTheHeardClicks)
{
    runUntil(1000, KeySpace); // on the second count-in click: no measured click near it
    tapAround(EightTaps);
    runUntil(ClickTrackMs);
    const std::string trace = testing::internal::GetCapturedStderr();

    ASSERT_EQ(calibration.tapCount, 8);
    for (size_t i = 0; i < EightTaps.size(); i++)
        EXPECT_EQ(calibration.offsets[i], EightTaps[i]) << i;
    EXPECT_DOUBLE_EQ(calibration.medianMs, 40.0);
    EXPECT_DOUBLE_EQ(calibration.spreadMs, 10.0);
    EXPECT_EQ(trace.find("calibrate tap 1000 "), std::string::npos) << "the count-in tap is not measured";
    EXPECT_NE(trace.find(" calibrate tap 1540 offset=40\n"), std::string::npos) << trace;
    EXPECT_NE(trace.find(" calibrate tap 4490 offset=-10\n"), std::string::npos) << trace;
    for (int i = 0; i < MeasuredClicks; i++) {
        const std::string line = " calibrate click " + std::to_string(FirstMeasuredClickMs + i * ClickIntervalMs) +
                                 "\n";
        EXPECT_NE(trace.find(line), std::string::npos) << line;
    }
    EXPECT_EQ(trace.find(" calibrate click 1000\n"), std::string::npos) << "the count-in is not traced";
    EXPECT_EQ(calibration.clicksHeard, AllClicks);
}

TEST_F(CalibrationScreen, EnterSavesTheMedianOnlyFromTheEighthTap)
{
    tapAround({EightTaps.begin(), EightTaps.begin() + 7});
    fakeTapKey(KeyEnter);
    updateMenus();
    EXPECT_EQ(menu.state.load(), Calibrate) << "seven taps are not enough";
    EXPECT_EQ(settings.audioOffsetMs.load(), 0);

    runUntil(FirstMeasuredClickMs + 7 * ClickIntervalMs + EightTaps[7], KeySpace);
    fakeTapKey(KeyEnter);
    updateMenus();
    const std::string trace = testing::internal::GetCapturedStderr();
    EXPECT_EQ(menu.state.load(), Title);
    EXPECT_EQ(settings.audioOffsetMs.load(), 40);
    const size_t result = trace.find(" calibrate result offset=40 spread=10 taps=8\n");
    ASSERT_NE(result, std::string::npos) << trace;
    EXPECT_NE(trace.find(" config AudioOffset=40\n", result), std::string::npos) << trace;
    EXPECT_NE(readWholeFile(confPath()).find("AudioOffset=40"), std::string::npos) << readWholeFile(confPath());
    uint32_t heardMs = 0;
    EXPECT_FALSE(calibrationClicksHeardMs(heardMs)) << "the clicks stop on leaving";
}

TEST_F(CalibrationScreen, EscapeLeavesWithoutSaving)
{
    tapAround(EightTaps);
    fakeTapKey(KeyEscape);
    updateMenus();
    const std::string trace = testing::internal::GetCapturedStderr();
    EXPECT_EQ(menu.state.load(), Title);
    EXPECT_EQ(shell.quitRequested, 0) << "the Escape that leaves does not also quit from the title";
    EXPECT_EQ(settings.audioOffsetMs.load(), 0);
    EXPECT_EQ(trace.find("calibrate result"), std::string::npos) << trace;
    EXPECT_EQ(trace.find("config AudioOffset"), std::string::npos) << trace;
    EXPECT_FALSE(std::ifstream(confPath()).good());
}

TEST_F(CalibrationScreen, HeldSpaceIsOneTapAndOffsetsPastTheScaleStillCount)
{
    runUntil(FirstMeasuredClickMs - 200);
    fakeSetKeyDown(KeySpace, true);
    runUntil(FirstMeasuredClickMs + 300);
    fakeSetKeyDown(KeySpace, false);
    runUntil(FirstMeasuredClickMs + 400);
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(calibration.tapCount, 1);
    EXPECT_EQ(calibration.offsets[0], -190)
        << "taken in the first frame that sees the key; beyond the drawn scale, still measured";
}

TEST_F(CalibrationScreen, MedianIsRoundedToWholeMilliseconds)
{
    // Straight into the tap entry point: offsets as a voice would bring them.
    for (int i = 0; i < 8; i++)
        calibrationTap(uint32_t(FirstMeasuredClickMs + i * ClickIntervalMs + (i < 4 ? 20 : 21)));
    EXPECT_DOUBLE_EQ(calibration.medianMs, 20.5);
    fakeTapKey(KeyEnter);
    updateMenus();
    const std::string trace = testing::internal::GetCapturedStderr();
    EXPECT_EQ(settings.audioOffsetMs.load(), 21) << trace;
    EXPECT_NE(trace.find(" calibrate result offset=21 spread=1 taps=8\n"), std::string::npos) << trace;
}

} // namespace
