#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <regex>

#include "app/app_context.h"
#include "game/best_update.h"
#include "game/song_end.h"
#include "platform/fake/fake_platform.h"
#include "platform/paths.h"
#include "support/scratch_folder.h"

// The song end writes data/best.txt beside the executable, as the game does.
class StageBest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetAppContext();
        fakeResetPlatform();
        fakeSetTimeMs(50000);
        SongEntry entry;
        entry.fileName = "best-test.txt";
        entry.level = 3;
        catalogue.songs.push_back(entry);
        catalogue.songCount = 1;
        menu.state.store(Play);
        mkdir((exeDirectory() + "/data").c_str(), 0755);
        unlink(bestFilePath().c_str());
    }

    void TearDown() override { unlink(bestFilePath().c_str()); }

    // The song has just been heard to its end; a full gauge clears it with no BONUS at gauge 0.
    void endSong(double score, int autoplay = 0)
    {
        menu.selectedSong = 0;
        menu.autoplay = autoplay;
        chart.clearNorm = 3 / 7.0 * 0.25 + 0.6;
        play.score = score;
        play.gauge = 0.0;
        play.judgementCounts[Miss] = 4;
        play.judgementCounts[Good] = 5;
        play.judgementCounts[Great] = 6;
        credit.songEndHandled = 0;
        finishSong();
    }
};

TEST_F(StageBest, EachBetterStageIsWrittenAndShownAsNewBest)
{
    struct Step {
        double score;
        int autoplay;
        bool newBest;
        int kept;
    } steps[] = {
        {50004.0, 0, true, 50000},  // the first play of a chart is its best, booked as shown
        {40000.0, 0, false, 50000}, // lower
        {50000.0, 0, false, 50000}, // a tie keeps the older best
        {99000.0, 1, false, 50000}, // AUTOPLAY is never recorded
        {60000.0, 0, true, 60000},
    };
    for (const Step &s : steps) {
        SCOPED_TRACE(s.score);
        endSong(s.score, s.autoplay);
        EXPECT_EQ(bests.lastSongSetBest, s.newBest);
        BestScoreTable onDisk;
        readBestFile(bestFilePath(), onDisk);
        const BestScore *kept = findBestScore(onDisk, "best-test.txt");
        ASSERT_NE(kept, nullptr);
        EXPECT_EQ(kept->score, s.kept);
        EXPECT_EQ(findBestScore(bests.byChart, "best-test.txt")->score, s.kept);
    }
    const std::string text = readWholeFile(bestFilePath());
    EXPECT_TRUE(std::regex_match(text, std::regex("best-test\\.txt\t60000\t6\t5\t4\t\\d{4}-\\d\\d-\\d\\d\r\n")))
        << text;
    EXPECT_EQ(text.substr(text.size() - 12, 10), todaysDate());
}

TEST_F(StageBest, AutoplayAloneWritesNoFile)
{
    endSong(99000.0, 1);
    EXPECT_FALSE(bests.lastSongSetBest);
    EXPECT_FALSE(fileExists(bestFilePath()));
    EXPECT_TRUE(bests.byChart.empty());
}

// Chart names are matched without regard to case, so BEST.TXT names the best file too.
TEST_F(StageBest, TheBestFileNamedInAnotherCaseIsKeptToo)
{
    writeWholeFile(bestFilePath(), "TITLE:mine\nLEVEL:3\n#START\n4c ,\n#END\n");
    catalogue.songs[0].fileName = "Best.TXT";
    testing::internal::CaptureStderr();
    loadBestScores();
    testing::internal::GetCapturedStderr();
    EXPECT_FALSE(bests.saving);
}

// A song list that names best.txt as a chart keeps that chart: the bests are neither read from
// it nor written over it.
TEST_F(StageBest, AChartNamedBestTxtIsNeverOverwritten)
{
    const std::string chartText = "TITLE:mine\nLEVEL:3\n#START\n4c ,\n#END\n";
    writeWholeFile(bestFilePath(), chartText);
    catalogue.songs[0].fileName = "best.txt";
    testing::internal::CaptureStderr();
    loadBestScores();
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_EQ(message, "lumatide: " + bestFilePath() +
                           ": listed as a chart in the song list; the per-song bests are not kept\n");
    endSong(70000.0);
    EXPECT_EQ(readWholeFile(bestFilePath()), chartText);
    EXPECT_TRUE(bests.lastSongSetBest) << "still shown for this run";

    catalogue.songs[0].fileName = "best-test.txt";
    unlink(bestFilePath().c_str());
    loadBestScores();
    endSong(70000.0);
    EXPECT_TRUE(fileExists(bestFilePath())) << "saved again once the list no longer claims the file";
}

TEST_F(StageBest, AStageOfNoPointsIsNoBest)
{
    endSong(0.0);
    EXPECT_FALSE(bests.lastSongSetBest);
    EXPECT_EQ(findBestScore(bests.byChart, "best-test.txt"), nullptr);
    EXPECT_FALSE(fileExists(bestFilePath()));
}
