#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/app_context.h"
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
    std::ofstream(dataDir + "/first.txt") << "TITLE:First\nLEVEL:2\nWAVE:first.ogg\nBPM:120\n#START\n4c 4d ,\n!e ,\n#END\n";

    testing::internal::CaptureStderr();
    loadSongList();
    app.menu.selectedSong = 0;
    parseChart();
    loadRanking();
    saveRanking();
    app.credit.ranking[3] = 100;
    enterRanking(160000);
    std::string traces = testing::internal::GetCapturedStderr();

    EXPECT_EQ(app.catalogue.songCount, 2);
    EXPECT_EQ(app.chart.noteCount, 3);
    EXPECT_EQ(app.chart.musicPath, dataDir + "/first.ogg");
    EXPECT_NEAR(app.chart.clearNorm, 2 / 7.0 * 0.25 + 0.6, 1e-12);
    EXPECT_EQ(app.credit.newRankIndex, 1);
    EXPECT_NE(traces.find(" catalogue 2\n"), std::string::npos) << traces;
    EXPECT_NE(traces.find(" chart first.txt notes=3 judged=2 measures=2 bpm=120\n"), std::string::npos) << traces;
    EXPECT_NE(traces.find(" ranking 1 160000\n"), std::string::npos) << traces;
    EXPECT_EQ(readWholeFile(dataDir + "/score.hsc"),
              "175000\r\n160000\r\n160000\r\n145000\r\n100\r\n115000\r\n100000\r\n85000\r\n70000\r\n55000\r\n");
    std::filesystem::remove_all(dataDir);
}
