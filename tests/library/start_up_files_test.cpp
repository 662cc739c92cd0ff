#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/app_context.h"
#include "game/song_chart.h"
#include "library/chart_parser.h"
#include "library/ranking.h"
#include "library/song_list.h"
#include "library_files.h"
#include "platform/paths.h"

namespace {

// Trace lines are switched on before the first one is written.
const bool traceOn = setenv("LUMATIDE_TRACE", "1", 1) == 0;

} // namespace

// The one test that uses the data folder beside the test executable, as the game does.
TEST(LibraryStartUp, CatalogueChartAndRankingBesideTheExecutable)
{
    ASSERT_TRUE(traceOn);
    resetAppContext();
    std::string dataDir = exeDirectory() + "/data";
    std::filesystem::remove_all(dataDir);
    std::filesystem::create_directories(dataDir);
    std::ofstream(dataDir + "/songlist.txt") << "first.txt\nsecond.txt\n";
    std::ofstream(dataDir + "/first.txt")
        << "TITLE:First\nLEVEL:2\nWAVE:first.ogg\nBPM:120\n#START\n4c 4d ,\n!e ,\n#END\n";

    testing::internal::CaptureStderr();
    loadSongList();
    menu.selectedSong = 0;
    parseChart();
    loadRanking();
    saveRanking();
    ranking[3] = 100;
    const int place = enterRanking(160000);
    std::string traces = testing::internal::GetCapturedStderr();

    EXPECT_EQ(catalogue.songCount, 2);
    EXPECT_EQ(chart.noteCount, 3);
    EXPECT_EQ(chart.musicPath, dataDir + "/first.ogg");
    EXPECT_NEAR(chart.clearNorm, 2 / 7.0 * 0.25 + 0.6, 1e-12);
    EXPECT_EQ(place, 1);
    EXPECT_NE(traces.find(" catalogue 2\n"), std::string::npos) << traces;
    EXPECT_NE(traces.find(" chart first.txt notes=3 judged=2 measures=2 bpm=120\n"), std::string::npos) << traces;
    EXPECT_NE(traces.find(" ranking 1 160000\n"), std::string::npos) << traces;
    EXPECT_EQ(readWholeFile(dataDir + "/score.hsc"),
              "175000\r\n160000\r\n160000\r\n145000\r\n100\r\n115000\r\n100000\r\n85000\r\n70000\r\n55000\r\n");

    // A score below every rank changes nothing, yet the file is written again.
    std::ofstream(dataDir + "/score.hsc") << "damaged\n";
    testing::internal::CaptureStderr();
    enterRanking(99);
    traces = testing::internal::GetCapturedStderr();
    EXPECT_EQ(credit.newRankIndex, 10);
    EXPECT_NE(traces.find(" ranking 10 99\n"), std::string::npos) << traces;
    EXPECT_EQ(readWholeFile(dataDir + "/score.hsc"),
              "175000\r\n160000\r\n160000\r\n145000\r\n100\r\n115000\r\n100000\r\n85000\r\n70000\r\n55000\r\n");
    std::filesystem::remove_all(dataDir);
}

// With no entry to read (an empty catalogue, or an index past its end) the chart is empty: no
// notes, no measures, the previous header values kept.
TEST(LibraryStartUp, ParsingWithoutASelectedSongGivesAnEmptyChart)
{
    resetAppContext();
    parseChartText("WAVE:kept.ogg\nBPM:150\n#START\n4c 4d ,\n,\n", "/d", 7, chart);
    ASSERT_EQ(chart.noteCount, 2);
    for (size_t songs : {0, 2}) {
        SCOPED_TRACE(songs);
        catalogue.songs.assign(songs, SongEntry{"a.txt", "A", 7, 0});
        catalogue.songCount = static_cast<uint16_t>(songs);
        menu.selectedSong = 2;
        testing::internal::CaptureStderr();
        parseChart();
        std::string traces = testing::internal::GetCapturedStderr();
        EXPECT_NE(traces.find(" chart  notes=0 judged=0 measures=0 bpm=150\n"), std::string::npos) << traces;
        EXPECT_EQ(chart.noteCount, 0);
        EXPECT_EQ(chart.judgedNoteCount, 0);
        EXPECT_EQ(chart.measureCount, 0);
        EXPECT_TRUE(chart.measureTimes.empty());
        ASSERT_EQ(chart.notes.size(), 1u);
        EXPECT_EQ(chart.currentNote, &chart.notes[0]);
        EXPECT_EQ(chart.notes[0].prev, &chart.notes[0]);
        EXPECT_EQ(chart.bpm, 150);
        EXPECT_EQ(chart.musicPath, "/d/kept.ogg");
        EXPECT_NEAR(chart.clearNorm, 1 / 7.0 * 0.25 + 0.6, 1e-12);
    }
}
