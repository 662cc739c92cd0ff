// The pitch detector's cost per second of sung audio, for each method it could run.
// Goal: the game's choice below 2 % of one core (20 ms of work per second of voice).
#include <benchmark/benchmark.h>

#include "audio/pitch_detector.h"
#include "sung_voice.h"

namespace {

const SungVoice &testVoice(int octaveShift)
{
    static SungVoice voices[3];
    SungVoice &voice = voices[-octaveShift];
    if (voice.samples.empty()) {
        SungVoiceStyle style;
        style.octaveShift = octaveShift;
        voice = singMelody(melodyOfChart(demoChartPath(), style), style);
    }
    return voice;
}

// One second of the voice per iteration, in the device's 512-frame blocks.
void detectOneSecond(benchmark::State &state, PitchMethod method)
{
    const SungVoice &voice = testVoice(int(state.range(0)));
    PitchDetectorSetup setup = voicePitchSetup(voice.sampleRate);
    setup.method = method;
    PitchDetector *detector = pitchDetectorCreate(setup);
    PitchReading readings[8];
    size_t at = size_t(voice.sampleRate) * 5; // into the melody
    for (auto _ : state) {
        for (int block = 0; block < voice.sampleRate / 512; block++) {
            if (at + 512 > voice.samples.size())
                at = 0;
            benchmark::DoNotOptimize(pitchDetectorFeed(*detector, voice.samples.data() + at, 512, readings));
            at += 512;
        }
    }
    pitchDetectorDestroy(detector);
    // Seconds of work per second of voice (one iteration), as a percentage of one core.
    state.counters["core_percent"] = benchmark::Counter(double(state.iterations()) / 100.0,
                                                        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_DetectYinFast(benchmark::State &state) { detectOneSecond(state, PitchMethod::YinFast); }
void BM_DetectYin(benchmark::State &state) { detectOneSecond(state, PitchMethod::Yin); }
void BM_DetectYinFft(benchmark::State &state) { detectOneSecond(state, PitchMethod::YinFft); }

} // namespace

// The argument is the octave the melody is sung in: the written one or two lower.
BENCHMARK(BM_DetectYinFast)->Arg(0)->Arg(-2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DetectYin)->Arg(0)->Arg(-2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DetectYinFft)->Arg(0)->Arg(-2)->Unit(benchmark::kMillisecond);
