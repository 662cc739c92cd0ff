#include <gtest/gtest.h>

#include "gfx/field_effects.h"

namespace {

TEST(FieldEffects, HitDiscEasesOutAndFades)
{
    struct Case {
        uint32_t since;
        double radius, alpha;
    };
    for (const Case &c : {Case{0, 0.0, 1.0}, Case{100, 0.15, 0.25}, Case{150, 0.1875, 0.0625}, Case{200, 0.2, 0.0}}) {
        const Disc disc = hitEffectDisc(c.since);
        EXPECT_NEAR(disc.radius, c.radius, 1e-12) << c.since;
        EXPECT_NEAR(disc.alpha, c.alpha, 1e-12) << c.since;
    }
}

// A slide from x -0.5 at 1000 ms to x 0.3 at 2000 ms.
TEST(FieldEffects, LinkDiscFollowsTheSlide)
{
    ChartNote p, c;
    p.timeMs = 1000;
    p.screenX = -0.5;
    c.timeMs = 2000;
    c.screenX = 0.3;
    struct Case {
        int songTimeMs;
        double x;
    };
    const Case cases[] = {
        {1000, -0.5}, {1500, -0.1}, {1750, 0.1}, {2000, 0.3}, {2600, 0.3}, // held past its end: stays on the end
        {500, -0.9}, // before its start: beyond the start, away from the end
    };
    for (const Case &k : cases) {
        double x = 0.0;
        ASSERT_TRUE(linkEffectX(p, c, k.songTimeMs, x)) << k.songTimeMs;
        EXPECT_NEAR(x, k.x, 1e-12) << k.songTimeMs;
    }
    // Leaning left, and across the clock's zero.
    double x = 0.0;
    p.timeMs = static_cast<uint32_t>(-1000);
    c.timeMs = 1000;
    c.screenX = -0.9;
    ASSERT_TRUE(linkEffectX(p, c, 0, x));
    EXPECT_NEAR(x, -0.7, 1e-12);
    // Both ends at one time: no slide to show.
    c.timeMs = p.timeMs;
    x = 7.0;
    EXPECT_FALSE(linkEffectX(p, c, 0, x));
    EXPECT_EQ(x, 7.0);
}

TEST(FieldEffects, JudgementLinePulsesOnceMeasuresRun)
{
    struct Case {
        uint32_t msPerBeat;
        int measureIndex;
        double beatPhase, alpha;
    };
    const Case cases[] = {
        {500, 1, 0.0, 0.9}, {500, 1, 0.5, 0.7}, {500, 3, 1.0, 0.5}, {500, 0, 0.5, 0.9}, {0, 2, 0.5, 0.9}};
    for (const Case &c : cases)
        EXPECT_NEAR(judgementLineAlpha(c.msPerBeat, c.measureIndex, c.beatPhase), c.alpha, 1e-12)
            << c.msPerBeat << " " << c.measureIndex << " " << c.beatPhase;
}

TEST(FieldEffects, FullComboSheetBrightensThenFades)
{
    struct Case {
        uint32_t since;
        float alpha;
        double halfHeight;
    };
    const Case cases[] = {
        {0, 0.0f, 0.4},
        {100, 0.2f, 0.9995 * 0.3995},
        {400, 0.8f, 0.992 * 0.392}, // the brightest: the lower edge turns from rising to falling
        {1500, 0.25f, 0.8875 * 0.3125},
        {1999, 0.0005f, 0.80019995 * 0.39980005},
    };
    for (const Case &c : cases) {
        const GlowSheet sheet = fullComboGlow(c.since);
        EXPECT_NEAR(sheet.alpha, c.alpha, 1e-6) << c.since;
        EXPECT_NEAR(sheet.halfHeight, c.halfHeight, 1e-9) << c.since;
    }
}

} // namespace
