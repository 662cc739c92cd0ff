// Start-up against the size of the song library: the built game started on libraries of 1 to
// 65,535 generated charts, timed from its launch to its "state Title" trace, which it writes right
// before the first title frame, with its resident memory read on the title screen. The largest
// library is then browsed on the select screen. Needs a display and xdotool:
//   scripts/with_display.sh build/bench/bench_library_size_gui
#include <benchmark/benchmark.h>

#include <signal.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "support/game_process.h"

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

// Every tenth title is Japanese in Shift-JIS, as old chart folders have them, so that both faces
// a library needs take part.
std::string titleOf(int i)
{
    if (i % 10 == 9)
        return "\x83\x65\x83\x58\x83\x67\x8B\xC8 " + std::to_string(i); // テスト曲
    return "Glass Harbor " + std::to_string(i) + " (Extra)";
}

// A chart of sixteen bars, the size of a short song, so that reading the list costs what it does
// on a player's library.
std::string chartOf(int i)
{
    std::string text = "TITLE:" + titleOf(i) + "\nLEVEL:" + std::to_string(1 + i % 6) +
                       "\nWAVE:song.ogg\nBPM:140\nOFFSET:0\n#START\n";
    for (int bar = 0; bar < 16; bar++)
        text += "4c 4e 4G 5c 4a 4g 4e 4d ,\n";
    return text + "#END\n";
}

void installLibrary(GameProcess &game, int songs)
{
    game.install(false);
    std::ofstream list(game.folder.file("data/songlist.txt"), std::ios::binary);
    for (int i = 0; i < songs; i++) {
        const std::string name = "song" + std::to_string(i) + ".txt";
        list << name << "\n";
        writeWholeFile(game.folder.file("data/" + name), chartOf(i));
    }
}

long residentKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:" && status >> value)
            return value;
        status.ignore(1 << 20, '\n');
    }
    return 0;
}

// Milliseconds from the launch to the title trace, polled finely; negative when it never came.
// Only the trace's new bytes are read at each poll, so a long trace does not slow the game down.
double millisecondsToTitle(GameProcess &game)
{
    // The trace of an earlier run must not be read as this one's.
    std::remove(game.folder.file("stderr.txt").c_str());
    const auto launched = Clock::now();
    game.start();
    std::string seen;
    while (Clock::now() - launched < 300s && game.running()) {
        std::ifstream trace(game.folder.file("stderr.txt"), std::ios::binary);
        const size_t searchFrom = seen.size() > 16 ? seen.size() - 16 : 0;
        trace.seekg(std::streamoff(seen.size()));
        seen.append(std::istreambuf_iterator<char>(trace), std::istreambuf_iterator<char>());
        if (seen.find(" state Title\n", searchFrom) != std::string::npos)
            return std::chrono::duration<double, std::milli>(Clock::now() - launched).count();
        std::this_thread::sleep_for(1ms);
    }
    return -1;
}

void stopGame(GameProcess &game)
{
    if (game.running())
        kill(game.pid, SIGTERM);
    game.exitsWithin(120000ms);
    game.exitStatus = -1;
}

size_t countOf(const std::string &text, const std::string &word)
{
    size_t count = 0;
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
        count++;
    return count;
}

void BM_StartUpToTitle(benchmark::State &state)
{
    GameProcess game;
    installLibrary(game, int(state.range(0)));
    double residentMiB = 0;
    for (auto _ : state) {
        const double ms = millisecondsToTitle(game);
        if (ms < 0) {
            state.SkipWithError(("the game never reached the title:\n" + game.trace()).c_str());
            break;
        }
        state.SetIterationTime(ms / 1000);
        // A few frames of the title screen, then its memory.
        std::this_thread::sleep_for(500ms);
        residentMiB = double(residentKiB(game.pid)) / 1024;
        stopGame(game);
    }
    state.counters["rss_MiB"] = residentMiB;
}

// The select screen on the largest library: the right arrow held long enough to step through
// more titles than are kept made at once.
void BM_BrowseLargestLibrary(benchmark::State &state)
{
    GameProcess game;
    installLibrary(game, int(state.range(0)));
    for (auto _ : state) {
        if (millisecondsToTitle(game) < 0 || game.waitForWindow().empty()) {
            state.SkipWithError(("the game never reached the title:\n" + game.trace()).c_str());
            break;
        }
        std::this_thread::sleep_for(300ms);
        const auto pressed = Clock::now();
        pressKey("space", 80ms);
        pressKey("Right", 12000ms);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - pressed).count());
        std::this_thread::sleep_for(300ms);
        const std::string trace = game.trace();
        state.counters["rss_MiB"] = double(residentKiB(game.pid)) / 1024;
        state.counters["titles_made"] = double(countOf(trace, " title font "));
        state.counters["still_running"] = game.running();
        state.counters["on_select"] = trace.find(" state Select\n") != std::string::npos;
        stopGame(game);
    }
}

} // namespace

BENCHMARK(BM_StartUpToTitle)
    ->Arg(1)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(65535)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BrowseLargestLibrary)->Arg(65535)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
