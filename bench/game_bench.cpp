// The play update per frame on long charts: its cost must not grow with the chart, since it only
// looks at the current note and its neighbours.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "app/app_context.h"
#include "game/play_reset.h"
#include "game/play_update.h"
#include "library/chart_parser.h"
#include "platform/core/pcm_mixer.h"
#include "platform/fake/fake_platform.h"
#include "platform/pcm.h"
#include "platform/timer.h"

namespace {

constexpr uint32_t FrameMs = 16;
constexpr uint32_t LeadInDoneMs = 2000;

// Four notes a measure at 120 BPM, every fourth measure ending in a slide.
std::string chartText(int noteCount)
{
    static const char *const measures[] = {"4c 4e 4g 4c+ ,\n", "3a 4c 4e 4d ,\n", "4g 4f 4e 4d ,\n", "4c 3b 4C 4e ,\n"};
    std::string text = "TITLE:bench\nLEVEL:5\nWAVE:none.ogg\nBPM:120\nOFFSET:0.5\n#START\n";
    for (int i = 0; i < noteCount / 4; i++)
        text += measures[i % 4];
    return text + "#END\n";
}

// AUTOPLAY steers by the columns the renderer writes; the test field's columns never change.
void placeNotes()
{
    for (ChartNote &note : chart.notes)
        note.screenX = (12 * note.octaveShift + note.pitch) / 24.0;
}

// The chart on the play screen in AUTOPLAY with the lead-in over; no catalogue entry and no
// music file, so the menus' song start is not used.
void playBenchSong(const std::string &text)
{
    resetAppContext();
    fakeResetPlatform();
    fakeSetTimeMs(100000);
    parseChartText(text, "/nonexistent", 5, chart);
    placeNotes();
    resetPlayState();
    menu.autoplay = 1;
    menu.state.store(Play);
    play.keyHeldFrames.store(-1);
    play.playStartTime = timerNowMs() - LeadInDoneMs;
    play.phaseStartTime = 0;
}

// The rules alone, the song clock stepped by the benchmark.
void BM_PlayRulesPerFrame(benchmark::State &state)
{
    const std::string text = chartText(static_cast<int>(state.range(0)));
    playBenchSong(text);
    music.streamState.store(Streaming);
    int t = 0;
    for (auto _ : state) {
        t += FrameMs;
        fakeSetTimeMs(100000 + t);
        play.songTimeMs = t;
        applyPlayRules(timerNowMs());
        if (chart.noteIndex >= chart.noteCount) {
            state.PauseTiming();
            playBenchSong(text);
            music.streamState.store(Streaming);
            t = 0;
            state.ResumeTiming();
        }
    }
    state.counters["notes"] = static_cast<double>(chart.noteCount);
}
BENCHMARK(BM_PlayRulesPerFrame)->Arg(1000)->Arg(20000);

// The whole update: refill and position of a music stream (a silent source, so no decoding is
// measured) and the rules. The mixer, the audio thread's work, is pulled outside the timing.
void BM_UpdatePlayPerFrame(benchmark::State &state)
{
    const std::string text = chartText(static_cast<int>(state.range(0)));
    const auto start = [&] {
        music.close(); // the mixer must let go of the stream's buffers before they go
        playBenchSong(text);
        pcmStartOutput();
        music.openSilent(chart.measureTimes.back() + 10000);
    };
    start();
    std::vector<int16_t> heard(size_t(FrameMs) * PcmMixRate / 1000 * PcmMixChannels);
    for (auto _ : state) {
        state.PauseTiming();
        fakeAdvanceTimeMs(FrameMs);
        pcmMixerPull(heard.data(), static_cast<int>(heard.size() / PcmMixChannels));
        state.ResumeTiming();
        updatePlay();
        if (chart.noteIndex >= chart.noteCount) {
            state.PauseTiming();
            start();
            state.ResumeTiming();
        }
    }
    music.close();
}
BENCHMARK(BM_UpdatePlayPerFrame)->Arg(1000)->Arg(20000);

} // namespace
