// Press-to-first-tone: the game's own frame loop runs a song whose music is silence, a second thread
// presses the play key with xdotool at a random moment, and the mixer's pull observer notes the
// first pull that carries a sound. Reported: the time from the key event's delivery to that pull,
// through the output the game opens (SDL's dummy driver when no sound card is wanted: frames 0) and
// through outputs of several buffer sizes pulled at real-time pace, as a device's callback would.
// Needs a display and xdotool:
//   scripts/with_display.sh build/bench/bench_press_to_tone_gui
//
// The voices feed only while the play key is held on the play screen with the music not finished,
// at the gain the pointer's height gives: a song must be open and the key must reach the window.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/app_context.h"
#include "app/main_loop.h"
#include "audio/audio_output.h"
#include "audio/voice_thread.h"
#include "audio/voice_wake.h"
#include "game/play_reset.h"
#include "platform/core/pcm_mixer.h"
#include "platform/pcm.h"
#include "platform/thread.h"
#include "platform/timer.h"
#include "platform/window.h"
#include "rules/voice_gain.h"
#include "tests/audio/ogg_encode.h"
#include "tests/support/scratch_folder.h"

namespace {

constexpr const char *WindowTitle = "lumatide press bench";
constexpr int Trials = 40;
// Far above the decoder's rounding of silence, far below a tone at the quietest gain we set.
constexpr int SoundThreshold = 64;

std::atomic<uint64_t> firstSoundUs{0}; // output clock time of the first pull with a sound
std::atomic<uint64_t> lastSoundUs{0};

void notePull(const int16_t *out, int frames, uint64_t nowUs)
{
    for (int i = 0; i < frames * PcmMixChannels; i++) {
        if (std::abs(int(out[i])) > SoundThreshold) {
            uint64_t none = 0;
            firstSoundUs.compare_exchange_strong(none, nowUs);
            lastSoundUs.store(nowUs);
            return;
        }
    }
}

std::string commandOutput(const std::string &command)
{
    std::string text;
    if (FILE *pipe = popen(command.c_str(), "r")) {
        char chunk[256];
        while (std::fgets(chunk, sizeof chunk, pipe) != nullptr)
            text += chunk;
        pclose(pipe);
    }
    return text.substr(0, text.find('\n'));
}

// Two minutes of digital silence, made once per run.
const std::string &silentSong()
{
    static ScratchFolder folder;
    static const std::string path = [] {
        std::string file = folder.path + "/silence.ogg";
        encodeOgg(file, 2, 44100, std::vector<int16_t>(size_t(2) * 44100 * 120, 0));
        return file;
    }();
    return path;
}

bool openWindow()
{
    static const bool opened = [] {
        if (!windowCreate(WindowTitle, 640, 480))
            return false;
        windowSetSwapIntervalZero();
        windowShow();
        return true;
    }();
    return opened;
}

// The play screen of a song with one note a minute away, the key released, the pointer in the
// middle of the field at full loudness.
void startSilentSong()
{
    resetAppContext();
    shell.swapControlMissing = false;
    window.clientWidth.store(640);
    window.clientHeight.store(480);
    window.fieldMargin.store(20);
    chart.msPerBeat = 500;
    chart.bpm = 120.0;
    chart.noteCount = 1;
    chart.notes.assign(2, ChartNote{});
    chart.notes[0].timeMs = 60000;
    chart.notes[1].state = NoteTaken;
    chart.measureCount = 1;
    chart.measureTimes = {0};
    chart.currentNote = &chart.notes[0];
    music.openFile(silentSong().c_str());
    music.open();
    music.refill();
    menu.state.store(Play);
    resetPlayState();
    play.keyHeldFrames.store(0);
    play.playStartTime = timerNowMs() - 10000; // past the lead-in
    window.pointerX.store(320.0);
    window.pointerY = 240.0;
    window.voiceGain.store(voiceGainForPointer(240, 480, menu.unison.load()));
}

struct Trial {
    double pressToToneMs = -1; // negative: no tone came
    double injectMs = 0;       // how long xdotool took to hand the event over
};

bool waitUntil(const std::function<bool()> &done, std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Presses and releases the key Trials times at random moments; the event is taken as delivered
// when xdotool has flushed it and exited (an upper bound on its delivery, so the figure errs low by
// at most the exit's own time).
void pressRepeatedly(std::vector<Trial> &trials, std::atomic<bool> &finished)
{
    std::mt19937 random(12);
    std::uniform_int_distribution<int> pauseMs(150, 250);
    for (int i = 0; i < Trials; i++) {
        std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs(random)));
        firstSoundUs.store(0);
        const uint64_t before = pcmSteadyClockUs();
        std::system("xdotool keydown --delay 0 space");
        const uint64_t pressedUs = pcmSteadyClockUs();
        Trial trial;
        trial.injectMs = double(pressedUs - before) / 1000.0;
        if (waitUntil([] { return firstSoundUs.load() != 0; }, std::chrono::milliseconds(500)))
            trial.pressToToneMs = (double(firstSoundUs.load()) - double(pressedUs)) / 1000.0;
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        std::system("xdotool keyup --delay 0 space");
        // The release resets the voices; wait for the queued tone to drain before the next press.
        waitUntil([] { return pcmSteadyClockUs() - lastSoundUs.load() > 100000; }, std::chrono::milliseconds(1000));
        trials.push_back(trial);
    }
    finished.store(true);
}

double percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const size_t index = std::min(values.size() - 1, size_t(fraction * double(values.size())));
    return values[index];
}

void BM_PressToFirstTone(benchmark::State &state)
{
    if (!openWindow()) {
        state.SkipWithError("no display: run under scripts/with_display.sh");
        return;
    }
    const std::string id = commandOutput(std::string("xdotool search --name '^") + WindowTitle + "$'");
    if (id.empty() || std::system(("xdotool windowfocus --sync " + id).c_str()) != 0) {
        state.SkipWithError("xdotool could not focus the bench window");
        return;
    }
    const int bufferFrames = int(state.range(0));
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    for (auto _ : state) {
        startSilentSong();
        if (bufferFrames == 0)
            startAudioOutput();
        else
            pcmStartSilentOutput(bufferFrames);
        shell.voiceThreadRunning.store(1);
        PlatformThread *voiceThreadHandle = threadStart(voiceThread);
        openVoices();
        pcmMixerObservePulls(notePull);

        std::vector<Trial> trials;
        std::atomic<bool> finished{false};
        std::thread presser(pressRepeatedly, std::ref(trials), std::ref(finished));
        while (!finished.load())
            runFrame();
        presser.join();

        pcmMixerObservePulls(nullptr);
        shell.voiceThreadRunning.store(0);
        wakeVoiceThread();
        threadJoin(voiceThreadHandle);
        music.close();
        closeVoices();
        state.counters["device_frames"] = bufferFrames == 0 ? pcmOutputBufferFrames() : bufferFrames;
        if (bufferFrames == 0)
            stopAudioOutput();
        else
            pcmStopSilentOutput();

        std::vector<double> latencies, injects;
        for (const Trial &trial : trials) {
            if (trial.pressToToneMs >= 0)
                latencies.push_back(trial.pressToToneMs);
            injects.push_back(trial.injectMs);
        }
        state.counters["trials"] = double(trials.size());
        state.counters["toneless"] = double(trials.size() - latencies.size());
        state.counters["inject_ms"] = percentile(injects, 0.5);
        if (latencies.empty()) {
            state.SkipWithError("no press gave a tone");
            break;
        }
        state.counters["p50_ms"] = percentile(latencies, 0.5);
        state.counters["p95_ms"] = percentile(latencies, 0.95);
        state.counters["max_ms"] = percentile(latencies, 1.0);
        state.SetIterationTime(percentile(latencies, 0.5) / 1000.0);
    }
}
BENCHMARK(BM_PressToFirstTone)
    ->Arg(0)
    ->Arg(1024)
    ->Arg(512)
    ->Arg(256)
    ->ArgName("frames")
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
