#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gfx/text_quads.h"

namespace {

TextQuads layOut(const std::string &text, int x = 0, int y = 0, int size = 20)
{
    TextQuads quads;
    buildTextQuads(size, text.data(), int(text.size()), x, y, size, 640, 0.75, quads);
    return quads;
}

// The cell a glyph samples, recovered from its texture coordinates as drawn.
GlyphCell cellOf(const TextQuads &quads, int k)
{
    return {int(quads.texCoords[k * 8] / 0.078125f + 0.5f), int(quads.texCoords[k * 8 + 5] / 0.15625f + 0.5f)};
}

std::vector<std::pair<int, int>> cellsOf(const TextQuads &quads)
{
    std::vector<std::pair<int, int>> cells;
    for (int k = 0; k < quads.glyphCount; ++k)
        cells.emplace_back(cellOf(quads, k).column, cellOf(quads, k).row);
    return cells;
}

} // namespace

TEST(TextQuads, AbcOnA640By480Client)
{
    // The client width is halved in integers: one more pixel of width changes nothing.
    for (const int clientWidth : {640, 641}) {
        SCOPED_TRACE(clientWidth);
        TextQuads quads;
        buildTextQuads(20, "ABC", 3, 100, 50, 20, clientWidth, 0.75, quads);
        ASSERT_EQ(quads.glyphCount, 3);
        const float lefts[] = {-0.6875f, -0.625f, -0.5625f};
        for (int k = 0; k < 3; ++k) {
            SCOPED_TRACE(k);
            const float *v = quads.positions + k * 8;
            const float right = lefts[k] + 0.0625f;
            // Counter-clockwise from the bottom-left.
            const float expected[8] = {lefts[k], 0.53125f, right, 0.53125f, right, 0.59375f, lefts[k], 0.59375f};
            for (int i = 0; i < 8; ++i)
                EXPECT_FLOAT_EQ(v[i], expected[i]) << "coordinate " << i;
            const float s0 = float(k * 0.078125), s1 = float((k + 1) * 0.078125);
            const float coords[8] = {s0, 0.15625f, s1, 0.15625f, s1, 0.0f, s0, 0.0f};
            for (int i = 0; i < 8; ++i)
                EXPECT_FLOAT_EQ(quads.texCoords[k * 8 + i], coords[i]) << "texture coordinate " << i;
            for (int i = 0; i < 4; ++i)
                EXPECT_EQ(quads.indices[k * 4 + i], k * 4 + i);
        }
    }
}

TEST(TextQuads, GlyphTable)
{
    using Cells = std::vector<std::pair<int, int>>;
    const struct {
        std::string text;
        Cells cells;
    } cases[] = {
        {"Z9", {{1, 2}, {11, 2}}},
        {"0", {{2, 2}}},
        {"LMX", {{11, 0}, {0, 1}, {11, 1}}},
        {"!?.:\"-/['+]", {{0, 3}, {1, 3}, {2, 3}, {3, 3}, {4, 3}, {5, 3}, {6, 3}, {7, 3}, {9, 3}, {10, 3}, {8, 3}}},
        {"ab z", {{11, 3}, {11, 3}, {11, 3}, {11, 3}}},
        {"\x81\x99\x81\x9A\x81\xA9\x81\xAA\x81\xA8\x81\xAB", {{0, 4}, {1, 4}, {2, 4}, {3, 4}, {4, 4}, {5, 4}}},
        {"A\x81", {{0, 0}, {11, 3}}},
        {"\x81"
         "A",
         {{11, 3}, {0, 0}}},
        {"\x81\x81\x9A", {{11, 3}, {1, 4}}},
        {"\xC1\xDA\xB0", {{11, 3}, {11, 3}, {11, 3}}}, // 'A', 'Z', '0' with the top bit set
        {"", {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(cellsOf(layOut(c.text)), c.cells);
    }
}

TEST(TextQuads, TwoByteSymbolsTakeOneGlyphPosition)
{
    const std::string level = "LEVEL \x81\x9A\x81\x9A\x81\x99";
    ASSERT_EQ(level.size(), 12u);
    const TextQuads quads = layOut(level, 0, 0, 20);
    ASSERT_EQ(quads.glyphCount, 9);
    for (int k = 6; k < 9; ++k)
        EXPECT_FLOAT_EQ(quads.positions[k * 8], float(k * 20 / 320.0 - 1.0)) << "star at glyph " << k;
    EXPECT_EQ(cellOf(quads, 6).column, 1);
    EXPECT_EQ(cellOf(quads, 8).column, 0);

    const TextQuads down = layOut(
        "A\x81\xAB"
        "B");
    ASSERT_EQ(down.glyphCount, 3);
    EXPECT_EQ(cellOf(down, 1).column, 5);
    EXPECT_FLOAT_EQ(down.positions[2 * 8], float(40 / 320.0 - 1.0));
}

TEST(TextQuads, LengthLimits)
{
    EXPECT_EQ(layOut(std::string(64, 'A')).glyphCount, 64);
    const TextQuads clamped = layOut(std::string(200, 'A'));
    EXPECT_EQ(clamped.glyphCount, 64);
    EXPECT_EQ(clamped.indices[63 * 4 + 3], 255);

    TextQuads quads;
    buildTextQuads(20, "ABC", 0, 0, 0, 20, 640, 0.75, quads);
    EXPECT_EQ(quads.glyphCount, 0);
    buildTextQuads(20, "ABC", -1, 0, 0, 20, 640, 0.75, quads);
    EXPECT_EQ(quads.glyphCount, 0);
    buildTextQuads(20, "ABC", 2, 0, 0, 20, 640, 0.75, quads);
    EXPECT_EQ(quads.glyphCount, 2);
    // A star whose second byte lies beyond byteLength is a lone 0x81: one blank glyph.
    buildTextQuads(20, "\x81\x9A", 1, 0, 0, 20, 640, 0.75, quads);
    ASSERT_EQ(quads.glyphCount, 1);
    EXPECT_EQ(cellOf(quads, 0).column, 11);
    EXPECT_EQ(cellOf(quads, 0).row, 3);
    buildTextQuads(20, "ABC", 3, 0, 0, 20, 1, 0.75, quads);
    EXPECT_EQ(quads.glyphCount, 0) << "a client area without width draws nothing";
}

TEST(TextQuads, NarrowAdvanceAndTallGlyphs)
{
    TextQuads quads;
    buildTextQuads(15, "SCROLL", 6, 300, 400, 10, 800, 0.75, quads);
    ASSERT_EQ(quads.glyphCount, 6);
    EXPECT_FLOAT_EQ(quads.positions[5 * 8], float(350 / 400.0 - 1.0));
    EXPECT_FLOAT_EQ(quads.positions[5 * 8 + 2], float(360 / 400.0 - 1.0));
    EXPECT_FLOAT_EQ(quads.positions[1], float(0.75 - 415 / 400.0));
    EXPECT_FLOAT_EQ(quads.positions[5], float(0.75 - 400 / 400.0));
}
