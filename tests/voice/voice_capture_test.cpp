// The voice from the capture device to the published pitch and press, through the fake device.
#include <gtest/gtest.h>

#include <cmath>

#include "audio/voice_capture.h"
#include "platform/capture.h"
#include "platform/fake/capture_fake.h"
#include "rules/voice_pitch.h"
#include "sung_voice.h"

namespace {

struct Rendering {
    const char *name;
    double octaveShift;
    double latenessMs;
};

// What a main thread reading the readout after every device block sees of one syllable.
struct SyllableSeen {
    double pressMs = -1.0; // after the syllable's start, when its onset was published
    double pitchMs = -1.0; // after its start, when the published pitch was within a quarter tone
};

std::vector<SyllableSeen> singThroughCapture(const SungVoice &voice, int blockFrames)
{
    std::vector<SyllableSeen> seen(voice.notes.size());
    fakeSetCaptureFormat(voice.sampleRate, blockFrames);
    EXPECT_TRUE(voiceCaptureStart());
    const uint32_t firstOnset = voiceReadout.onsets.load();
    for (size_t at = 0; at + size_t(blockFrames) <= voice.samples.size(); at += size_t(blockFrames)) {
        fakeCapturePush(voice.samples.data() + at, blockFrames);
        const double nowMs = 1000.0 * double(at + size_t(blockFrames)) / voice.sampleRate;
        const uint32_t onsets = voiceReadout.onsets.load() - firstOnset;
        if (onsets >= 1 && onsets <= seen.size() && seen[onsets - 1].pressMs < 0.0)
            seen[onsets - 1].pressMs = nowMs - voice.notes[onsets - 1].startMs;
        if (onsets >= 1 && onsets <= seen.size() && seen[onsets - 1].pitchMs < 0.0) {
            const SungNote &note = voice.notes[onsets - 1];
            const double sung = foldToNearestOctave(voiceReadout.semitones.load(), note.pitch);
            if (std::fabs(sung - note.pitch) < 0.5)
                seen[onsets - 1].pitchMs = nowMs - note.startMs;
        }
    }
    voiceCaptureStop();
    return seen;
}

} // namespace

TEST(VoiceCapture, EverySyllablePressesOnceAndReachesItsPitchWithinFortyMs)
{
    const Rendering renderings[] = {{"written octave", 0.0, 0.0},
                                    {"two octaves lower", -2.0, 0.0},
                                    {"40 ms late", 0.0, 40.0}};
    for (const Rendering &rendering : renderings) {
        SCOPED_TRACE(rendering.name);
        SungVoiceStyle style;
        style.octaveShift = rendering.octaveShift;
        style.latenessMs = rendering.latenessMs;
        const SungVoice voice = singMelody(melodyOfChart(demoChartPath(), style), style);
        ASSERT_GT(voice.notes.size(), 50u);
        const std::vector<SyllableSeen> seen = singThroughCapture(voice, 512);
        for (size_t i = 0; i < seen.size(); i++) {
            SCOPED_TRACE(testing::Message() << "syllable " << i);
            EXPECT_GE(seen[i].pressMs, 0.0);
            EXPECT_LE(seen[i].pressMs, 40.0);
            EXPECT_GE(seen[i].pitchMs, 0.0);
            EXPECT_LE(seen[i].pitchMs, 40.0);
        }
    }
}

TEST(VoiceCapture, WithoutADeviceSaysSoOnceAndStaysOff)
{
    fakeSetCaptureOpens(false);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(voiceCaptureStart());
    const std::string said = testing::internal::GetCapturedStderr();
    fakeSetCaptureOpens(true);
    EXPECT_FALSE(voiceCaptureRunning());
    EXPECT_EQ(voiceCaptureDelayMs(), 0.0);
    EXPECT_NE(said.find("lumatide: no capture device could be opened"), std::string::npos) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
}

TEST(VoiceCapture, DelayIsTheDeviceBufferPlusTheDetectorWindow)
{
    fakeSetCaptureFormat(48000, 480);
    ASSERT_TRUE(voiceCaptureStart());
    EXPECT_NEAR(voiceCaptureDelayMs(), 10.0 + 1000.0 * 1024 / 48000, 1e-9);
    captureSongStart();
    EXPECT_EQ(fakeCaptureSongStarts(), 1);
    voiceCaptureStop();
    EXPECT_FALSE(voiceCaptureRunning());
    EXPECT_EQ(voiceReadout.pressDown.load(), 0);
}
