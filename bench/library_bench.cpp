// Parsing a long chart and building a large catalogue, both of which happen between frames.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/app_context.h"
#include "library/chart_parser.h"
#include "library/song_list.h"

namespace {

std::string makeScratchFolder()
{
    char pattern[] = "/tmp/lumatide-bench-XXXXXX";
    return mkdtemp(pattern);
}

// 20,000 notes in 2,500 measures of eight and a rest, mixing ghosts, linked runs and folded octaves.
std::string longChart()
{
    const char *tokens[] = {"4c ", "4E ", "5G ", "5c+", "!d ", "3a-", "6b "};
    std::string text = "TITLE:Long\nLEVEL:5\nWAVE:long.ogg\nBPM:180\nOFFSET:0.25\n#START\n";
    for (int measure = 0; measure < 2500; measure++) {
        if (measure % 100 == 0)
            text += measure % 200 == 0 ? "#MEASURE 7/8\n" : "#MEASURE 4/4\n";
        for (int i = 0; i < 8; i++)
            text += tokens[(measure + i) % 7];
        text += "40 ,\n";
    }
    return text + "#END\n";
}

void parseLongChart(benchmark::State &state)
{
    std::string folder = makeScratchFolder();
    std::ofstream(folder + "/long.txt") << longChart();
    Chart chart;
    for (auto _ : state) {
        parseChartFile(folder + "/long.txt", folder, 5, chart);
        benchmark::DoNotOptimize(chart.notes.data());
    }
    state.counters["notes"] = chart.noteCount;
    std::filesystem::remove_all(folder);
}

void readLargeSongList(benchmark::State &state)
{
    std::string folder = makeScratchFolder();
    std::ofstream list(folder + "/songlist.txt");
    for (int i = 0; i < 1000; i++) {
        std::string name = "song" + std::to_string(i) + ".txt";
        list << name << "\r\n";
        std::ofstream(folder + "/" + name) << "TITLE:Song " << i << "\nLEVEL:" << 1 + i % 7
                                           << "\nWAVE:song.ogg\nBPM:120\n#START\n4c 4d 4e 4f ,\n4g 4a 4b 5c ,\n#END\n";
    }
    list.close();
    Catalogue catalogue;
    for (auto _ : state) {
        readSongList(folder, catalogue);
        benchmark::DoNotOptimize(catalogue.songs.data());
    }
    state.counters["songs"] = catalogue.songCount;
    std::filesystem::remove_all(folder);
}

} // namespace

BENCHMARK(parseLongChart)->Unit(benchmark::kMillisecond);
BENCHMARK(readLargeSongList)->Unit(benchmark::kMillisecond);
