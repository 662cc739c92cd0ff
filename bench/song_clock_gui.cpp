// Song clock smoothness: a song plays through the mixer on SDL's dummy driver (real-time pace,
// no sound device or display needed; the _gui name only links the SDL backend) while a 60 Hz
// loop reads the clock as the play update does. Reported: how far each frame's clock step strays
// from the wall-clock step (goal: never back, jitter under 2 ms).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "app/app_context.h"
#include "audio/audio_output.h"
#include "platform/pcm.h"
#include "tests/audio/ogg_encode.h"

namespace {

// The first demo song beside the build, or ten seconds of our own music, made for this run and
// removed at its end.
struct SongFile {
    std::string path;
    bool made = false;
    ~SongFile()
    {
        if (made)
            std::remove(path.c_str());
    }
};

void findOrMakeSong(SongFile &song)
{
    std::vector<std::string> found;
    std::error_code error;
    for (const auto &entry : std::filesystem::directory_iterator(LUMATIDE_BUILD_DIR "/data", error))
        if (entry.path().extension() == ".ogg")
            found.push_back(entry.path().string());
    if (!found.empty()) {
        song.path = *std::min_element(found.begin(), found.end());
        return;
    }
    song.path = "/tmp/lumatide_clock_bench_" + std::to_string(getpid()) + ".ogg";
    song.made = true;
    encodeOgg(song.path, 2, 44100, sineSamples(2, 44100, 44100 * 10, 440.0));
}

struct Spread {
    double mean = 0, stdDev = 0, maxAbs = 0;
};

Spread spreadOf(const std::vector<double> &values)
{
    Spread s;
    if (values.empty())
        return s;
    double squares = 0;
    for (double v : values) {
        s.mean += v;
        squares += v * v;
    }
    s.mean /= double(values.size());
    s.stdDev = std::sqrt(std::max(0.0, squares / double(values.size()) - s.mean * s.mean));
    for (double v : values)
        s.maxAbs = std::max(s.maxAbs, std::fabs(v - s.mean));
    return s;
}

void BM_SongClockSmoothness(benchmark::State &state)
{
    using Clock = std::chrono::steady_clock;
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    resetAppContext();
    startAudioOutput();
    SongFile song;
    findOrMakeSong(song);
    const int frames = int(state.range(0));
    std::vector<double> stepDeviations; // song clock step minus wall step, per frame (ms)
    std::vector<double> offsets;        // heard position minus wall time, unrounded (ms)
    int backSteps = 0;
    for (auto _ : state) {
        music.openFile(song.path.c_str());
        music.open();
        music.refill();
        const Clock::time_point begin = Clock::now();
        uint32_t lastMs = 0;
        double lastWallMs = 0;
        Clock::time_point next = begin;
        for (int frame = 0; frame < frames && music.refill() == 0; frame++) {
            next += std::chrono::microseconds(16667);
            std::this_thread::sleep_until(next);
            const double wallMs = std::chrono::duration<double, std::milli>(Clock::now() - begin).count();
            uint32_t ms = 0;
            music.positionMs(ms);
            const double heardMs = double(pcmPositionFrames(music.device)) * 1000.0 / music.format.sampleRate;
            // The first half second covers the start of playback; measure the steady run.
            if (frame > 30) {
                stepDeviations.push_back(double(ms) - double(lastMs) - (wallMs - lastWallMs));
                offsets.push_back(heardMs - wallMs);
                backSteps += ms < lastMs ? 1 : 0;
            }
            lastMs = ms;
            lastWallMs = wallMs;
        }
        music.close();
    }
    stopAudioOutput();

    const Spread steps = spreadOf(stepDeviations);
    const Spread offset = spreadOf(offsets);
    state.counters["frames"] = double(stepDeviations.size());
    state.counters["backSteps"] = backSteps;
    state.counters["stepDevStdMs"] = steps.stdDev;
    state.counters["stepDevMaxMs"] = steps.maxAbs;
    state.counters["offsetStdMs"] = offset.stdDev;
    state.counters["offsetMaxMs"] = offset.maxAbs;
}
BENCHMARK(BM_SongClockSmoothness)->Arg(400)->ArgName("frames")->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
