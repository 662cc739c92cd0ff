// renderFrame during play for charts of 200, 2,000 and 20,000 notes at the same note density:
// a frame should cost the same whatever the chart's length. Also the 200-note frame with the C
// library's default heap thresholds, with the page faults of a frame; and the 200-note frame layer
// by layer, each layer finished before the next begins. Needs a display (xvfb-run).
#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <chrono>
#include <malloc.h>
#include <string>
#include <sys/resource.h>
#include <utility>
#include <vector>

#include "app/app_context.h"
#include "gfx/gfx_state.h"
#include "gfx/render_frame.h"
#include "library/chart_notes.h"
#include "platform/timer.h"
#include "platform/window.h"
#include "rules/control_layout.h"

namespace {

// The software GL's swap mallocs and frees a frame-sized buffer each time. With the C library's
// default thresholds free() hands it back to the kernel whenever it lies at the top of a small
// heap (a short chart leaves it there), and the next swap faults it in again. Keeping freed
// memory makes the three chart sizes compare the renderer and not the heap's layout; there is no
// going back to the defaults afterwards.
void keepFreedMemory()
{
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
}

bool openWindow()
{
    static const bool opened = [] {
        if (!windowCreate("lumatide render bench", 640, 480))
            return false;
        windowSetSwapIntervalZero();
        windowShow();
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
        return true;
    }();
    return opened;
}

// A chart of count notes 125 ms apart (a slide every fourth note, pitches repeating every 24
// notes, a measure every 8) with the clock 96 notes before its end: the notes before the cursor
// taken, the one just before it judged a moment ago. Every chart size shows the same picture;
// the clocks differ by whole turns of the background cube.
void playNearChartEnd(int count)
{
    resetAppContext();
    window.fieldMargin = 20;
    resetControlLayout();
    menu.state = Play;
    music.streamState = Streaming;
    chart.msPerBeat = 500;
    chart.bpm = 120.0;
    chart.noteCount = static_cast<uint16_t>(count);
    chart.notes.assign(count + 1, ChartNote{});
    for (int i = 0; i < count; i++) {
        ChartNote &note = chart.notes[i];
        note.timeMs = 2000 + 125 * i;
        note.pitch = (i * 5) % 24 - 12;
        note.linked = i % 4 == 0;
    }
    chart.notes[count].state = NoteTaken;
    linkNotes(chart.notes, count);
    chart.measureCount = static_cast<uint16_t>(count / 8 + 1);
    for (int j = 0; j < chart.measureCount; j++)
        chart.measureTimes.push_back(2000 + 1000 * j);

    const int cursor = count - 96;
    const uint32_t now = timerNowMs();
    for (int i = 0; i < cursor; i++) {
        chart.notes[i].state = NoteTaken;
        chart.notes[i].grade = Great;
        chart.notes[i].gradeTime = now - 100000;
    }
    chart.notes[cursor - 1].gradeTime = now;
    chart.noteIndex = cursor;
    chart.currentNote = &chart.notes[cursor];
    chart.measureIndex = static_cast<uint16_t>(cursor / 8);
    play.songTimeMs = static_cast<int>(chart.notes[cursor].timeMs) - 60;
    play.lastJudgement = Great;
    play.lastJudgementTime = now;
    play.combo = 100;
    play.keyHeldFrames = 5;
    window.pointerX = 320.0;
    play.playStartTime = now - 100000;
    play.phaseStartTime = now - 98500;
}

// Page faults served without reading the disk since the process started: a buffer handed back to
// the kernel and taken again costs one for each of its pages.
long minorPageFaults()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

void drawPlayFrames(benchmark::State &state)
{
    if (!openWindow()) {
        state.SkipWithError("no display: run under xvfb-run");
        return;
    }
    playNearChartEnd(static_cast<int>(state.range(0)));
    // The software GL compiles a shader for each new drawing state on first use.
    for (int frame = 0; frame < 60; frame++)
        renderFrame();
    glFinish();
    const long faultsBefore = minorPageFaults();
    for (auto _ : state) {
        renderFrame();
        glFinish();
    }
    state.counters["notes"] = static_cast<double>(state.range(0));
    state.counters["faults"] = benchmark::Counter(static_cast<double>(minorPageFaults() - faultsBefore),
                                                  benchmark::Counter::kAvgIterations);
}

// Registered first so that it runs before the thresholds change: the cost of handing the swap's
// buffer back every frame.
void renderFrameWithDefaultHeap(benchmark::State &state) { drawPlayFrames(state); }

void renderFrameDuringPlay(benchmark::State &state)
{
    keepFreedMemory();
    drawPlayFrames(state);
}

// Time spent on each layer of the frames drawn while it is set, in the order the layers come.
struct LayerClock {
    std::chrono::steady_clock::time_point mark;
    std::vector<std::pair<std::string, double>> totalMs;
    size_t next = 0;

    void add(const char *layer)
    {
        const auto now = std::chrono::steady_clock::now();
        const double ms = std::chrono::duration<double, std::milli>(now - mark).count();
        mark = now;
        if (next == totalMs.size())
            totalMs.emplace_back(layer, 0.0);
        totalMs[next++].second += ms;
    }
};

LayerClock layerClock;

void finishLayer(const char *layer)
{
    glFinish();
    layerClock.add(layer);
}

// Each layer's cost with the GL made to finish it first, so a layer's figure holds the
// rasterising it asked for; "swap" is the flush and the buffer swap after the last layer. The
// layers together cost more than a frame: the finishes stop the GL's threads from overlapping
// one layer with the next.
void renderLayersDuringPlay(benchmark::State &state)
{
    if (!openWindow()) {
        state.SkipWithError("no display: run under xvfb-run");
        return;
    }
    keepFreedMemory();
    playNearChartEnd(static_cast<int>(state.range(0)));
    for (int frame = 0; frame < 60; frame++)
        renderFrame();
    glFinish();
    layerClock = LayerClock{};
    gfx.layerDrawn = finishLayer;
    for (auto _ : state) {
        layerClock.next = 0;
        layerClock.mark = std::chrono::steady_clock::now();
        renderFrame();
        glFinish();
        layerClock.add("swap");
    }
    gfx.layerDrawn = nullptr;
    for (const auto &[layer, ms] : layerClock.totalMs)
        state.counters[layer] = ms / static_cast<double>(state.iterations());
}

// CPU is the whole process, the rasterizer threads of a software GL included.
BENCHMARK(renderFrameWithDefaultHeap)
    ->Arg(200)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

BENCHMARK(renderFrameDuringPlay)
    ->Arg(200)
    ->Arg(2000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

BENCHMARK(renderLayersDuringPlay)->Arg(200)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

} // namespace
