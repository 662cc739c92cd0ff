// The calibration screen in voice mode on the fake platform: "ta" syllables sung into the fake
// capture device at chosen distances from the clicks are measured as taps at the time they were
// sung, the capture's delay taken off.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "audio/calibration_clicks.h"
#include "audio/voice_capture.h"
#include "game/input_mode.h"
#include "game/menus.h"
#include "platform/fake/capture_fake.h"
#include "platform/fake/fake_platform.h"
#include "platform/keys.h"
#include "rules/calibration_state.h"
#include "rules/voice_mode_state.h"
#include "sung_voice.h"
#include "support/calibration_frames.h"

namespace {

constexpr double SyllableMs = 150.0;

// Offsets from the measured clicks, median 30.
const std::vector<int> SungOffsets = {30, 20, 40, 10, 30, 50, 30, -20};

class CalibrationByVoice : public ::testing::Test {
protected:
    CalibrationFrames frames;

    void SetUp() override
    {
        CalibrationFrames::startGame();
        voiceMode.gateDb = DefaultVoiceGateDb;
    }

    void TearDown() override
    {
        stopCalibrationClicks();
        stopVoiceInput();
        voiceMode.input = InputMouse;
    }

    // Opens the calibration with C, then runs its frames to the end of the click track while the
    // voice reaches the capture device in step with the calibration clock.
    void calibrateSinging(const std::vector<SungNote> &syllables)
    {
        const SungVoice voice = singMelody(syllables, SungVoiceStyle{}, ClickTrackMs);
        fakeSetCaptureFormat(voice.sampleRate, 512);
        fakeTapKey(KeyC);
        updateMenus();
        ASSERT_EQ(menu.state.load(), Calibrate);
        size_t pushed = 0;
        while (frames.clockMs + CalibrationFrames::FrameMs <= ClickTrackMs) {
            frames.advance();
            const size_t due = std::min(voice.samples.size(), size_t(frames.clockMs) * size_t(voice.sampleRate) / 1000);
            fakeCapturePush(voice.samples.data() + pushed, int(due - pushed));
            pushed = due;
            updateMenus();
        }
    }

    static std::vector<SungNote> syllablesAround(const std::vector<int> &offsets)
    {
        std::vector<SungNote> syllables;
        for (size_t i = 0; i < offsets.size(); i++) {
            const double start = FirstMeasuredClickMs + double(i) * ClickIntervalMs + offsets[i];
            syllables.push_back(SungNote{start, start + SyllableMs, 0.0});
        }
        return syllables;
    }
};

} // namespace

TEST_F(CalibrationByVoice, SungSyllablesAreTapsAtTheTimeTheyWereSung)
{
    setInputMode(InputVoice);
    ASSERT_TRUE(voiceDrivesPlay());
    calibrateSinging(syllablesAround(SungOffsets));

    ASSERT_EQ(calibration.tapCount, int(SungOffsets.size()));
    // Within a detector hop and a frame of the truth, not a capture delay (some 35 ms) late.
    for (size_t i = 0; i < SungOffsets.size(); i++)
        EXPECT_LE(std::abs(calibration.offsets[i] - SungOffsets[i]), 12) << i << ": " << calibration.offsets[i];
    EXPECT_NEAR(calibration.medianMs, 30.0, 8.0);
}

TEST_F(CalibrationByVoice, WithTheMouseChosenTheVoiceTapsNothing)
{
    setInputMode(InputMouse);
    calibrateSinging(syllablesAround(SungOffsets));
    EXPECT_EQ(calibration.tapCount, 0);
}
