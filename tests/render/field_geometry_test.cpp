#include <gtest/gtest.h>

#include <cmath>

#include "gfx/field_geometry.h"
#include "library/chart.h"
#include "rules/note_column.h"

namespace {

TEST(FieldGeometry, SizesAt640x480WithMargin20)
{
    const FieldMetrics m = fieldMetrics(640, 480, 20, 0.75);
    EXPECT_EQ(m.half, 320);
    EXPECT_DOUBLE_EQ(m.marginView, 0.0625);
    EXPECT_EQ(m.halfSemitonePx, 12);
    EXPECT_DOUBLE_EQ(m.semitoneWidth * m.half, 25.0);
    EXPECT_DOUBLE_EQ(m.semitoneWidth, 0.078125);
    EXPECT_DOUBLE_EQ(2 * m.headHalfWidth * m.half, 24.0);
    EXPECT_NEAR(2 * m.headHalfHeight * m.half, 4.5, 1e-9);
    EXPECT_NEAR(m.judgeLineY, -0.34375, 1e-8);
    // A key reaches from the bottom edge up to the judgement line.
    EXPECT_NEAR(-0.72916667 * m.aspect - m.stripeHalfHeight, -m.aspect, 1e-8);
    EXPECT_NEAR(-0.72916667 * m.aspect + m.stripeHalfHeight, m.judgeLineY, 1e-8);
}

TEST(FieldGeometry, NoteColumnsSpanTheFieldBetweenTheMargins)
{
    struct Case {
        int width, margin;
        double pitch;
        int octaveShift;
        int expectedPx;
    };
    const Case cases[] = {
        {640, 20, 0, 0, 320},  {640, 20, -12, 0, 20}, {640, 20, 12, 0, 620}, {640, 20, 12, -1, 320},
        {640, 20, 1, 0, 345},  {640, 40, -12, 0, 40}, {640, 40, 12, 0, 600}, {480, 20, -12, 0, 20},
        {480, 20, 12, 0, 460}, {480, 20, 0, 0, 240},  {641, 20, 5, 0, 445},  {640, 20, -0.5, 0, 307},
    };
    for (const Case &c : cases) {
        const FieldMetrics m = fieldMetrics(c.width, 480, c.margin, 480.0 / c.width);
        ChartNote note;
        note.pitch = c.pitch;
        note.octaveShift = c.octaveShift;
        const double x = noteColumnX(note, m.width, m.fieldMargin);
        EXPECT_NEAR((x + 1.0) * m.half, c.expectedPx, 1e-9) << c.width << " " << c.pitch;
    }
    // Column 12 is the middle; column k is k semitones right of the left margin.
    const FieldMetrics m = fieldMetrics(640, 480, 20, 0.75);
    EXPECT_DOUBLE_EQ(columnX(m, 12), 0.0);
    EXPECT_DOUBLE_EQ((columnX(m, 0) + 1.0) * m.half, 20.0);
    EXPECT_DOUBLE_EQ((columnX(m, 24) + 1.0) * m.half, 620.0);
    EXPECT_DOUBLE_EQ((columnX(m, -1) + 1.0) * m.half, -5.0);
}

TEST(FieldGeometry, ScrollPlacesTimesBetweenLineAndTopEdge)
{
    struct Case {
        uint32_t timeMs;
        int songTimeMs;
        uint32_t msPerBeat;
        double scrollSpeed;
        double expectedY; // in units of aspect
    };
    const double line = -0.45833333;
    const Case cases[] = {
        {4000, 0, 500, 1.0, 1.0}, // eight beats ahead: the top edge
        {2000, 0, 500, 2.0, 1.0},
        {1000, 0, 500, 4.0, 1.0},
        {10000, 10000, 500, 1.0, line}, // now: on the judgement line
        {12000, 10000, 500, 1.0, line + 1.4583333 / 2},
        {9000, 10000, 500, 1.0, line - 1.4583333 / 4},
        {0xFFFFFE0Cu, -1000, 500, 1.0, line + 1.4583333 * 500 / 4000}, // before the clock's zero
    };
    for (const Case &c : cases) {
        const ScrollRule rule{c.songTimeMs, c.msPerBeat, c.scrollSpeed, 0.75};
        EXPECT_NEAR(scrollY(rule, c.timeMs), c.expectedY * 0.75, 1e-6) << c.timeMs << " " << c.scrollSpeed;
    }
}

TEST(FieldGeometry, WithoutTempoNothingIsDividedByZero)
{
    const ScrollRule rule{5000, 0, 1.0, 0.75};
    EXPECT_NEAR(scrollY(rule, 5000), -0.45833333 * 0.75, 1e-12);
    const double ahead = scrollY(rule, 5001);
    const double behind = scrollY(rule, 4999);
    EXPECT_TRUE(std::isfinite(ahead) && std::isfinite(behind));
    EXPECT_GT(ahead, 0.75);
    EXPECT_LT(behind, -0.75);
}

TEST(FieldGeometry, StripesAndKeys)
{
    struct Case {
        int k;
        int remainder;
        bool stripe;
        double grey;
        double alpha;
    };
    const Case cases[] = {
        {-1, -1, true, 0.8, 0.5}, {0, 0, true, 0.95, 1.0},   {1, 1, true, 0.8, 1.0},     {4, 4, true, 0.95, 1.0},
        {5, 5, false, 0.95, 1.0}, {6, 6, false, 0.8, 1.0},   {11, 11, false, 0.95, 1.0}, {12, 0, true, 0.95, 1.0},
        {16, 4, true, 0.95, 1.0}, {17, 5, false, 0.95, 1.0}, {22, 10, false, 0.8, 1.0},  {24, 0, true, 0.95, 1.0},
        {25, 1, true, 0.8, 0.5},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(semitoneRemainder(c.k), c.remainder) << c.k;
        EXPECT_EQ(isStripeColumn(c.k), c.stripe) << c.k;
        EXPECT_DOUBLE_EQ(keyGrey(c.k), c.grey) << c.k;
        EXPECT_DOUBLE_EQ(keyAlpha(c.k), c.alpha) << c.k;
    }
}

TEST(FieldGeometry, StaticShapes)
{
    const StaticGeometry &g = staticGeometry();
    const float corners[8][3] = {{1, 1, 1},  {-1, 1, 1},  {-1, -1, 1},  {1, -1, 1},
                                 {1, 1, -1}, {-1, 1, -1}, {-1, -1, -1}, {1, -1, -1}};
    for (int i = 0; i < 8; i++)
        for (int a = 0; a < 3; a++)
            EXPECT_EQ(g.cubeVertices[i][a], corners[i][a]) << i;
    const uint32_t faces[6][4] = {{0, 1, 2, 3}, {0, 4, 5, 1}, {1, 5, 6, 2}, {4, 7, 6, 5}, {2, 6, 7, 3}, {0, 3, 7, 4}};
    for (int f = 0; f < 6; f++)
        for (int v = 0; v < 4; v++)
            EXPECT_EQ(g.cubeFaces[f][v], faces[f][v]);
    EXPECT_FLOAT_EQ(g.circleTable[0][0], 1.0f);
    EXPECT_NEAR(g.circleTable[8][0], 0.0f, 1e-7);
    EXPECT_FLOAT_EQ(g.circleTable[8][1], 1.0f);
    EXPECT_FLOAT_EQ(g.circleTable[16][0], -1.0f);
    EXPECT_FLOAT_EQ(g.circleTable[31][1], static_cast<float>(std::sin(-11.25 * M_PI / 180.0)));
}

} // namespace
