// Sound to pointer: from the first sample of a sung syllable to the published pitch being on the
// note (within a quarter tone, any octave) with the press down, through the fake capture device
// at the game's 512-frame blocks and at 256. Goal: 40 ms or less.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>

#include "audio/voice_capture.h"
#include "platform/fake/capture_fake.h"
#include "rules/voice_pitch.h"
#include "sung_voice.h"

namespace {

// A silence, then one sung note of the demo melody's range; the ms until the readout has it.
double msToPointer(int blockFrames, double pitch, double silenceMs)
{
    SungVoiceStyle style;
    const SungVoice voice = singMelody({SungNote{silenceMs, silenceMs + 300.0, pitch}}, style, 0.0);
    fakeSetCaptureFormat(voice.sampleRate, blockFrames);
    voiceCaptureStart();
    double found = 1000.0;
    for (size_t at = 0; at + size_t(blockFrames) <= voice.samples.size(); at += size_t(blockFrames)) {
        fakeCapturePush(voice.samples.data() + at, blockFrames);
        const double sung = foldToNearestOctave(voiceReadout.semitones.load(), pitch);
        if (voiceReadout.pressDown.load() == 1 && std::fabs(sung - pitch) < 0.25) {
            found = 1000.0 * double(at + size_t(blockFrames)) / voice.sampleRate - silenceMs;
            break;
        }
    }
    voiceCaptureStop();
    return found;
}

void BM_SoundToPointer(benchmark::State &state)
{
    const int blockFrames = int(state.range(0));
    const double pitch = double(state.range(1));
    double worst = 0.0, sum = 0.0;
    int count = 0;
    for (auto _ : state) {
        // The onset falls at every point of a block in turn.
        const double silenceMs = 100.0 + (count % 16) * (1000.0 * blockFrames / 44100.0) / 16.0;
        const double ms = msToPointer(blockFrames, pitch, silenceMs);
        worst = std::max(worst, ms);
        sum += ms;
        count++;
    }
    state.counters["mean_ms"] = sum / count;
    state.counters["worst_ms"] = worst;
}

} // namespace

// Block frames; pitch in semitones from MIDI 72: the melody's lowest note sung two octaves down,
// its middle, its top.
BENCHMARK(BM_SoundToPointer)
    ->Args({512, -29})
    ->Args({512, -3})
    ->Args({512, 7})
    ->Args({256, -29})
    ->Args({256, -3})
    ->Iterations(32)
    ->Unit(benchmark::kMillisecond);
