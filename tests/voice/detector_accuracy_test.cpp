// The game's detector setup on the test voices: pitch accuracy, and the level gate between the
// breath of the gaps and the softest sung hop.
#include <gtest/gtest.h>

#include <cmath>

#include "audio/pitch_detector.h"
#include "audio/voice_capture.h"
#include "detector_scoring.h"

namespace {

struct Rendering {
    const char *name;
    double octaveShift;
    double latenessMs;
};

const Rendering renderings[] = {
    {"written octave", 0.0, 0.0},
    {"one octave lower", -1.0, 0.0},
    {"two octaves lower", -2.0, 0.0},
    {"40 ms late", 0.0, 40.0},
};

SungVoice sing(const Rendering &rendering)
{
    SungVoiceStyle style;
    style.octaveShift = rendering.octaveShift;
    style.latenessMs = rendering.latenessMs;
    return singMelody(melodyOfChart(demoChartPath(), style), style);
}

} // namespace

TEST(DetectorAccuracy, FollowsEveryRenderingWithinFifteenCentsAndWithoutOctaveErrors)
{
    const PitchDetectorSetup setup = voicePitchSetup(44100);
    for (const Rendering &rendering : renderings) {
        SCOPED_TRACE(rendering.name);
        const SungVoice voice = sing(rendering);
        ASSERT_GT(voice.notes.size(), 50u) << "the demo chart " << demoChartPath() << " was not read";
        const DetectorScore score = scoreDetector(voice, setup, VoiceMinConfidence);
        EXPECT_LT(score.medianCents, 15.0);
        EXPECT_LT(score.octaveErrorShare, 0.01);
        // A sung hop that reads as unsure moves neither pointer nor key: nearly all must be sure.
        EXPECT_GT(score.confidentHops, score.judgedHops * 98 / 100);
    }
}

TEST(DetectorAccuracy, DefaultGateSeparatesSungHopsFromBreathBetweenSyllables)
{
    const PitchDetectorSetup setup = voicePitchSetup(44100);
    for (const Rendering &rendering : renderings) {
        SCOPED_TRACE(rendering.name);
        const SungVoice voice = sing(rendering);
        PitchDetector *detector = pitchDetectorCreate(setup);
        ASSERT_NE(detector, nullptr);
        std::vector<PitchReading> readings(voice.samples.size() / size_t(setup.hopFrames) + 1);
        const int count = pitchDetectorFeed(*detector, voice.samples.data(), int(voice.samples.size()),
                                            readings.data());
        pitchDetectorDestroy(detector);
        int sung = 0, sungOpen = 0, quiet = 0, quietShut = 0;
        for (int i = 0; i < count; i++) {
            const size_t first = size_t(i) * size_t(setup.hopFrames);
            const bool startsSung = !std::isnan(voice.truePitch[first]);
            const bool endsSung = !std::isnan(voice.truePitch[first + size_t(setup.hopFrames) - 1]);
            const bool open = readings[size_t(i)].levelDb >= DefaultVoiceGateDb;
            if (startsSung && endsSung) {
                sung++;
                sungOpen += open;
            } else if (!startsSung && !endsSung) {
                quiet++;
                quietShut += !open;
            }
        }
        EXPECT_GT(sungOpen, sung * 99 / 100);
        EXPECT_GT(quietShut, quiet * 99 / 100);
    }
}

TEST(DetectorAccuracy, RefusesSetupsItCannotRun)
{
    const PitchDetectorSetup bad[] = {
        {44100, 256, 512, PitchMethod::YinFast}, // hop longer than the window
        {44100, 1024, 0, PitchMethod::YinFast},
        {500, 1024, 256, PitchMethod::YinFast},
    };
    for (const PitchDetectorSetup &setup : bad)
        EXPECT_EQ(pitchDetectorCreate(setup), nullptr);
}

TEST(DetectorAccuracy, WindowFitsEveryCommonDeviceRate)
{
    // About 16 to 32 ms at any rate, so the low voice fits and the delay stays short.
    for (int rate : {22050, 32000, 44100, 48000, 88200, 96000, 192000}) {
        const PitchDetectorSetup setup = voicePitchSetup(rate);
        SCOPED_TRACE(rate);
        EXPECT_GE(pitchDetectorWindowMs(setup), 16.0);
        EXPECT_LE(pitchDetectorWindowMs(setup), 32.0);
        EXPECT_EQ(setup.hopFrames * 4, setup.windowFrames);
    }
}
