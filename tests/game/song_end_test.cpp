#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "app/app_context.h"
#include "game/song_end.h"
#include "platform/fake/fake_platform.h"
#include "platform/paths.h"

class SongEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetAppContext();
        fakeResetPlatform();
        fakeSetTimeMs(50000);
        for (int level : {1, 3, 5, 7}) {
            SongEntry entry;
            entry.level = static_cast<uint16_t>(level);
            catalogue.songs.push_back(entry);
        }
        catalogue.songCount = 4;
        menu.state.store(Play);
    }

    // The song at `index` has just been heard to its end with this score and gauge.
    void endSong(uint16_t index, double score, double gauge, int autoplay = 0)
    {
        const int level = catalogue.songs[index].level;
        menu.selectedSong = index;
        menu.autoplay = autoplay;
        catalogue.songs[index].played = autoplay ? 0 : 1;
        chart.clearNorm = level / 7.0 * 0.25 + 0.6;
        play.score = score;
        play.gauge = gauge;
        play.judgementCounts[Miss] = 1;
        play.judgementCounts[Good] = 2;
        play.judgementCounts[Great] = 3;
        finishSong();
    }

    static std::string scoreFile() { return exeDirectory() + "/data/score.hsc"; }
};

TEST_F(SongEnd, FinishSongBooksTheStage)
{
    credit.creditJudgementCounts[Great] = 10;
    endSong(2, 99995.0, 100.0);
    EXPECT_EQ(credit.clearBonus, 10000);
    EXPECT_EQ(credit.stageScores[0], 110000);
    EXPECT_EQ(credit.creditScore, 110000);
    EXPECT_DOUBLE_EQ(play.score, 109995.0) << "the shown score counts up by the BONUS";
    EXPECT_EQ(credit.extraUnlocked, 1);
    EXPECT_EQ(credit.creditJudgementCounts[Miss], 1);
    EXPECT_EQ(credit.creditJudgementCounts[Good], 2);
    EXPECT_EQ(credit.creditJudgementCounts[Great], 13);
    EXPECT_EQ(play.resultTime, 50000u);
    EXPECT_EQ(credit.songEndHandled, 1);
}

TEST_F(SongEnd, UnlockThreshold)
{
    struct Case {
        uint16_t song;
        double score;
        double gauge;
        int unlocked;
    };
    const Case cases[] = {
        {0, 99995.0, 0.0, 1},                        // level 1: booked 100000 equals the threshold
        {0, 99994.0, 0.0, 0},                        // booked 99990
        {1, 96995.0, 0.0, 1},                        // level 3: threshold 97000
        {1, 96994.9, 0.0, 0}, {3, 90000.0, 80.0, 0}, // level 7 below the clear line: no BONUS, threshold 91000
    };
    for (const Case &c : cases) {
        SetUp();
        endSong(c.song, c.score, c.gauge);
        EXPECT_EQ(credit.extraUnlocked, c.unlocked) << c.score << " at level " << catalogue.songs[c.song].level;
    }
}

TEST_F(SongEnd, AutoplayAddsNothing)
{
    endSong(2, 100000.0, 100.0, 1);
    EXPECT_EQ(credit.clearBonus, 10000);
    EXPECT_DOUBLE_EQ(play.score, 100000.0);
    EXPECT_EQ(credit.creditScore, 0);
    EXPECT_EQ(credit.extraUnlocked, 0);
    leaveSong();
    EXPECT_EQ(menu.state.load(), Select);
    EXPECT_EQ(credit.stage, 0);
    EXPECT_EQ(menu.selectedSong, 2) << "the cursor stays on the song AUTOPLAY played";
    EXPECT_EQ(credit.songEndHandled, 0);
}

// The credit's counts are the player's own: a song in AUTOPLAY adds none of its judgements.
TEST_F(SongEnd, AutoplayJudgementsStayOutOfTheCredit)
{
    endSong(0, 50000.0, 30.0, 1);
    leaveSong();
    endSong(1, 60000.0, 30.0);
    leaveSong();
    EXPECT_EQ(credit.creditJudgementCounts[Miss], 1);
    EXPECT_EQ(credit.creditJudgementCounts[Good], 2);
    EXPECT_EQ(credit.creditJudgementCounts[Great], 3);
}

TEST_F(SongEnd, FirstStageLeadsBackToSelect)
{
    catalogue.songs[1].played = 1;
    endSong(0, 50000.0, 30.0);
    leaveSong();
    EXPECT_EQ(menu.state.load(), Select);
    EXPECT_EQ(credit.stage, 1);
    EXPECT_EQ(menu.selectedSong, 2) << "entries 0 and 1 are played";
    EXPECT_EQ(credit.songEndHandled, 0);
}

TEST_F(SongEnd, SecondStageEntersTheRanking)
{
    struct Case {
        int firstStage;
        int secondStage;
        int rank;
    };
    const Case cases[] = {
        {60000, 70000, 2}, // equal to the third entry: ranked above it
        {500, 500, 10},    // below every entry: not ranked, the file is still written
    };
    for (const Case &c : cases) {
        SetUp();
        const std::string dataDir = exeDirectory() + "/data";
        mkdir(dataDir.c_str(), 0755);
        unlink(scoreFile().c_str());
        int before[10];
        std::copy(std::begin(ranking), std::end(ranking), before);
        credit.stage = 1;
        credit.creditScore = c.firstStage;
        endSong(0, c.secondStage, 0.0);
        fakeSetTimeMs(60000);
        leaveSong();
        const int total = c.firstStage + c.secondStage;
        EXPECT_EQ(credit.creditScore, total);
        EXPECT_EQ(menu.state.load(), Result);
        EXPECT_EQ(credit.stage, 2);
        EXPECT_EQ(play.resultTime, 60000u);
        EXPECT_EQ(play.displayedScore, 0.0);
        EXPECT_EQ(credit.newRankIndex, c.rank);
        if (c.rank < 10) {
            EXPECT_EQ(ranking[c.rank], total);
            EXPECT_EQ(ranking[c.rank + 1], before[c.rank]);
            EXPECT_EQ(ranking[9], before[8]);
        } else {
            EXPECT_TRUE(std::equal(std::begin(before), std::end(before), ranking));
        }
        EXPECT_EQ(access(scoreFile().c_str(), R_OK), 0) << "the ranking is saved";
    }
}
