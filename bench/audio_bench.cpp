// The audio work of one game frame: tone synthesis, one music refill, the mixer's pull.
// Goal: all of it together below 1% of a core (167 us per 60 Hz frame).
#include <benchmark/benchmark.h>

#include <map>
#include <string>

#include "app/app_context.h"
#include "audio/synthesizer.h"
#include "audio/voice_thread.h"
#include "platform/core/pcm_mixer.h"
#include "tests/audio/ogg_encode.h"
#include "tests/support/scratch_folder.h"

namespace {

// Twenty seconds of noise at each rate asked for: it decodes as slowly as real music. Encoded once
// per run (the benchmarks run many times), into a folder removed when the program ends.
std::string benchSong(int rate)
{
    static ScratchFolder folder;
    static std::map<int, std::string> paths;
    std::string &path = paths[rate];
    if (path.empty()) {
        path = folder.path + "/noise_" + std::to_string(rate) + ".ogg";
        encodeOgg(path, 2, rate, noiseSamples(2, size_t(rate) * 20));
    }
    return path;
}

void openBenchSong(int rate)
{
    music.openFile(benchSong(rate).c_str());
    music.open();
    music.refill();
}

// Pulls here come in bursts, not at the pace of a real output: a clock that stands still makes the
// heard position simply the frames mixed.
uint64_t frozenClockUs() { return 0; }

void pull(int frames)
{
    static int16_t sink[2 * 44100];
    pcmMixerPull(sink, frames);
}

void BM_SynthesizeBuffer(benchmark::State &state)
{
    resetAppContext();
    shell.bufferLengthMs = 20;
    openVoices();
    menu.waveType.store(int(state.range(0)));
    int slot = 0;
    for (auto _ : state) {
        synthesizeBuffer(slot, 0, 3.7);
        slot = (slot + 1) % RingSlots;
    }
    closeVoices();
    state.SetItemsProcessed(state.iterations() * 882);
}
BENCHMARK(BM_SynthesizeBuffer)->DenseRange(0, 4)->ArgName("waveType");

// One refill that has work to do: range(0) 0 is normal running (one piece decoded), 1 is a late
// frame in catch-up mode (the rest of a buffer at once).
void BM_Refill(benchmark::State &state)
{
    const bool catchUp = state.range(0) == 1;
    resetAppContext();
    pcmMixerStartOutput(0, frozenClockUs);
    openBenchSong(44100);
    uint64_t decoded = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (music.streamState.load() != Streaming)
            openBenchSong(44100);
        const uint32_t lag = music.playedBytes - music.queuedBytes;
        if (music.fillBytes == 0 || lag < music.headers[music.writeIndex].length)
            pull(catchUp ? 23040 : 12800);
        const uint32_t before = music.queuedBytes + music.fillBytes;
        state.ResumeTiming();
        music.refill();
        decoded += music.queuedBytes + music.fillBytes - before;
    }
    music.close();
    state.counters["bytesPerRefill"] = double(decoded) / double(state.iterations());
}
BENCHMARK(BM_Refill)->Arg(0)->Arg(1)->ArgName("catchUp");

// 1024 frames of music (at the mix rate, or converted from 48 kHz) and three voices.
void BM_MixerPull(benchmark::State &state)
{
    const int rate = int(state.range(0));
    resetAppContext();
    pcmMixerStartOutput(0, frozenClockUs);
    shell.bufferLengthMs = 20;
    openVoices();
    menu.state.store(Play);
    menu.unison.store(1);
    play.keyHeldFrames.store(1);
    window.pointerX.store(320.0);
    openBenchSong(rate);
    for (auto _ : state) {
        state.PauseTiming();
        if (music.refill() == 1)
            openBenchSong(rate);
        while (music.fillBytes != 0)
            music.refill();
        PcmDevice device = 0;
        uintptr_t user = 0;
        while (pcmTakeWindowNotice(&device, &user))
            onVoiceBufferDone(device, user);
        feedVoices(7);
        state.ResumeTiming();
        pull(1024);
    }
    music.close();
    closeVoices();
    state.SetItemsProcessed(state.iterations() * 1024);
}
BENCHMARK(BM_MixerPull)->Arg(44100)->Arg(48000)->ArgName("musicRate");

} // namespace
