#include "audio/voice_capture.h"

#include <algorithm>

#include "audio/pitch_detector.h"
#include "platform/capture.h"
#include "rules/voice_pitch.h"
#include "rules/voice_press.h"

VoiceReadout voiceReadout;

namespace {

// What the capture thread keeps between blocks; the main thread builds it before the first
// reading and takes it down after the last, handing it over through the atomic pointer.
struct VoicePipeline {
    PitchDetector *detector = nullptr;
    int hopFrames = 1;
    double hopMs = 0.0;
    VoicePitchSmoothing smoothing;
    VoicePress press;
};

VoicePipeline pipeline;
std::atomic<VoicePipeline *> livePipeline{nullptr};
double delayMs = 0.0;

void publish(VoicePipeline &live, const PitchReading &reading)
{
    const VoiceGateSetting gate{voiceReadout.gateDb.load(std::memory_order_relaxed), VoiceMinConfidence};
    stepVoicePress(live.press, VoiceFrame{reading.levelDb, reading.confidence}, gate, live.hopMs);
    if (reading.confidence >= VoiceMinConfidence && reading.levelDb >= gate.gateDb) {
        const double pitch = smoothVoicePitch(live.smoothing, reading.semitones, live.hopMs);
        voiceReadout.semitones.store(float(pitch), std::memory_order_relaxed);
    }
    voiceReadout.confidence.store(float(reading.confidence), std::memory_order_relaxed);
    voiceReadout.levelDb.store(float(reading.levelDb), std::memory_order_relaxed);
    voiceReadout.onsets.store(live.press.onsets, std::memory_order_relaxed);
    voiceReadout.pressDown.store(live.press.down ? 1 : 0, std::memory_order_relaxed);
}

void onBlock(void *, const float *samples, int frames)
{
    VoicePipeline *live = livePipeline.load(std::memory_order_acquire);
    if (live == nullptr)
        return;
    // Fed a hop at a time, the detector completes at most one reading per slice.
    for (int at = 0; at < frames; at += live->hopFrames) {
        PitchReading reading;
        if (pitchDetectorFeed(*live->detector, samples + at, std::min(live->hopFrames, frames - at), &reading) > 0)
            publish(*live, reading);
    }
}

} // namespace

bool voiceCaptureStart()
{
    voiceCaptureStop();
    CaptureInfo captureInfo;
    if (!captureStart(onBlock, nullptr, &captureInfo))
        return false;
    const PitchDetectorSetup setup = voicePitchSetup(captureInfo.sampleRate);
    pipeline = VoicePipeline{};
    pipeline.detector = pitchDetectorCreate(setup);
    if (pipeline.detector == nullptr) {
        captureStop();
        return false;
    }
    // The count goes on from where the last capture left it, so a reader never takes the restart
    // for a run of new syllables, nor misses the first onset after it.
    pipeline.press.onsets = voiceReadout.onsets.load(std::memory_order_relaxed);
    pipeline.hopFrames = setup.hopFrames;
    pipeline.hopMs = 1000.0 * setup.hopFrames / setup.sampleRate;
    delayMs = 1000.0 * captureInfo.bufferFrames / captureInfo.sampleRate + pitchDetectorWindowMs(setup);
    livePipeline.store(&pipeline, std::memory_order_release);
    return true;
}

void voiceCaptureStop()
{
    captureStop();
    if (livePipeline.exchange(nullptr) == nullptr)
        return;
    pitchDetectorDestroy(pipeline.detector);
    pipeline = VoicePipeline{};
    voiceReadout.pressDown.store(0, std::memory_order_relaxed);
    voiceReadout.levelDb.store(-120.0f, std::memory_order_relaxed);
    delayMs = 0.0;
}

bool voiceCaptureRunning() { return livePipeline.load(std::memory_order_relaxed) != nullptr; }

double voiceCaptureDelayMs() { return delayMs; }
