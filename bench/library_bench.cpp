// Parsing a long chart and building a large catalogue, both of which happen between frames.
#include <benchmark/benchmark.h>

#include <string>

#include "app/app_context.h"
#include "library/chart_parser.h"
#include "library/song_list.h"
#include "tests/support/scratch_folder.h"

namespace {

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
    ScratchFolder folder;
    std::string chartPath = folder.write("long.txt", longChart());
    Chart chart;
    for (auto _ : state) {
        parseChartFile(chartPath, folder.path, 5, chart);
        benchmark::DoNotOptimize(chart.notes.data());
    }
    state.counters["notes"] = chart.noteCount;
}

void readLargeSongList(benchmark::State &state)
{
    ScratchFolder folder;
    std::string list;
    for (int i = 0; i < 1000; i++) {
        std::string name = "song" + std::to_string(i) + ".txt";
        list += name + "\r\n";
        folder.write(name, "TITLE:Song " + std::to_string(i) + "\nLEVEL:" + std::to_string(1 + i % 7) +
                               "\nWAVE:song.ogg\nBPM:120\n#START\n4c 4d 4e 4f ,\n4g 4a 4b 5c ,\n#END\n");
    }
    folder.write("songlist.txt", list);
    Catalogue catalogue;
    for (auto _ : state) {
        readSongList(folder.path, catalogue);
        benchmark::DoNotOptimize(catalogue.songs.data());
    }
    state.counters["songs"] = catalogue.songCount;
}

} // namespace

BENCHMARK(parseLongChart)->Unit(benchmark::kMillisecond);
BENCHMARK(readLargeSongList)->Unit(benchmark::kMillisecond);
