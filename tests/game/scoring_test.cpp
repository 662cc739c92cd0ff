#include <gtest/gtest.h>

#include "rules/song_scoring.h"

TEST(SongScoring, JudgementGains)
{
    struct Case {
        Judgement judgement;
        uint16_t judged;
        double gaugeRate;
        double gauge;
        double score;
    };
    const Case cases[] = {
        {Great, 50, 0.98, 100.0 / 0.98 / 50, 2000.0},
        {Good, 50, 0.98, 100.0 / 0.98 / 50, 1000.0},
        {Miss, 50, 0.98, -2.0, 0.0},
        {Great, 0, 0.98, 0.0, 0.0},
        {Miss, 0, 0.98, -2.0, 0.0},
    };
    for (const Case &c : cases) {
        const JudgementGain gain = judgementGain(c.judgement, c.judged, c.gaugeRate);
        EXPECT_DOUBLE_EQ(gain.gauge, c.gauge) << c.judgement << " of " << c.judged;
        EXPECT_DOUBLE_EQ(gain.score, c.score) << c.judgement << " of " << c.judged;
    }
    double score = 0.0;
    for (int i = 0; i < 7; i++)
        score += judgementGain(Great, 7, 0.8).score;
    EXPECT_NEAR(score, 100000.0, 1e-6);
}

TEST(SongScoring, BonusAndClear)
{
    const auto clearNorm = [](int level) { return level / 7.0 * 0.25 + 0.6; };
    struct Case {
        const char *name;
        double gauge;
        int level;
        int bonus;
        bool clear;
    };
    const double level5 = clearNorm(5);
    const double level1 = clearNorm(1);
    const Case cases[] = {
        {"exactly at the clear line", 100.0 * level5, 5, 0, true},
        {"just below the clear line", 100.0 * level5 - 1e-9, 5, 0, false},
        {"full gauge level 5", 100.0, 5, 10000, true},
        // Half of 10000 in doubles is 4999.99..., which the cut takes down to 4990.
        {"halfway level 5", 50.0 * (level5 + 1.0), 5, 4990, true},
        // (g/100 - norm) / (1 - norm) x 2000 = 1237.x is cut to 1230.
        {"cut to a multiple of 10", 100.0 * (level1 + 0.61875 * (1.0 - level1)), 1, 1230, true},
        {"full gauge level 7", 100.0, 7, 14000, true},
        {"empty gauge", 0.0, 7, 0, false},
    };
    for (const Case &c : cases) {
        const double norm = clearNorm(c.level);
        EXPECT_EQ(clearBonusFor(c.gauge, norm, c.level), c.bonus) << c.name;
        EXPECT_EQ(songCleared(c.gauge, norm), c.clear) << c.name;
    }
}

TEST(SongScoring, BookedStageScore)
{
    struct Case {
        double score;
        int bonus;
        int booked;
    };
    const Case cases[] = {
        {99995.0, 0, 100000}, {99994.99, 0, 99990}, {12345.0, 100, 12450}, {12344.0, 100, 12440},
        {0.0, 0, 0},          {4.9, 0, 0},          {5.0, 0, 10},          {100000.0, 14000, 114000},
    };
    for (const Case &c : cases)
        EXPECT_EQ(bookedStageScore(c.score, c.bonus), c.booked) << c.score << " + " << c.bonus;
}
