#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "gfx/title_pixels.h"
#include "mapped_fonts.h"
#include "platform/fonts.h"
#include "platform/title_encoding.h"

namespace {

using Bytes = std::vector<uint8_t>;

const char TestJapaneseUtf8[] = "\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88\xE6\x9B\xB2"; // テスト曲
const char TestJapaneseCp932[] = "\x83\x65\x83\x58\x83\x67\x8B\xC8";

TitleTexture renderedTitle(const std::string &text, int fontSize = 18)
{
    TitleTexture title;
    title.text = text;
    title.fontSize = fontSize;
    layOutTitle(title);
    drawTitlePixels(title);
    closeSystemFont(title.font);
    return title;
}

int visiblePixels(const TitleTexture &title)
{
    int count = 0;
    for (size_t i = 3; i < title.pixels.size(); i += 4)
        count += title.pixels[i] != 0;
    return count;
}

} // namespace

TEST(TitlePixels, PowerOfTwoSizes)
{
    const int cases[][2] = {{0, 1}, {1, 1}, {2, 2}, {3, 4}, {37, 64}, {300, 512}, {512, 512}, {513, 1024}};
    for (const auto &c : cases)
        EXPECT_EQ(powerOfTwoAtLeast(c[0]), c[1]) << c[0];
}

TEST(TitlePixels, KeyColourSwapsRedAndBlue)
{
    EXPECT_EQ(keyColourOf(0x3C3C3C), 0x3C3C3Cu);
    EXPECT_EQ(keyColourOf(0x00332211), 0x00112233u);
}

TEST(TitlePixels, ConversionOfSolidBackgroundAndEdgePixels)
{
    const struct {
        const char *name;
        uint32_t keyColour;
        Bytes drawn;     // blue, green, red, 0 as drawn
        Bytes converted; // red, green, blue, alpha
    } cases[] = {
        {"solid text", 0x3C3C3C, {60, 60, 60, 0}, {60, 60, 60, 255}},
        {"background", 0x3C3C3C, {255, 255, 255, 0}, {0, 0, 0, 0}},
        {"coloured edge", 0x3C3C3C, {50, 100, 200, 0}, {200, 100, 50, 130}},
        {"grey edge", 0x3C3C3C, {100, 100, 100, 0}, {100, 100, 100, 155}},
        {"black edge", 0x3C3C3C, {0, 0, 0, 0}, {0, 0, 0, 255}},
        {"almost white edge", 0x3C3C3C, {254, 255, 255, 0}, {255, 255, 254, 0}},
        {"coloured key", 0x112233, {0x33, 0x22, 0x11, 0}, {0x11, 0x22, 0x33, 255}},
        {"white text is solid, not background", 0xFFFFFF, {255, 255, 255, 0}, {255, 255, 255, 255}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Bytes pixels = c.drawn;
        convertTitlePixels(pixels.data(), 1, c.keyColour);
        EXPECT_EQ(pixels, c.converted);
    }
}

TEST(TitlePixels, WhiteInsideAGlyphBecomesTransparent)
{
    // A pixel between two strokes that the font left white is indistinguishable from background.
    Bytes pixels = {60, 60, 60, 0, 255, 255, 255, 0, 60, 60, 60, 0};
    convertTitlePixels(pixels.data(), 3, 0x3C3C3C);
    EXPECT_EQ(pixels, (Bytes{60, 60, 60, 255, 0, 0, 0, 0, 60, 60, 60, 255}));
}

TEST(TitlePixels, DefaultTitleIsTestAt24Pixels)
{
    TitleTexture title;
    layOutTitle(title);
    drawTitlePixels(title);
    EXPECT_EQ(title.text, "test");
    EXPECT_EQ(title.extentHeight, 24);
    EXPECT_EQ(title.texHeight, 32);
    EXPECT_GT(title.extentWidth, 24);
    EXPECT_LT(title.extentWidth, 80);
    EXPECT_EQ(title.texWidth, powerOfTwoAtLeast(title.extentWidth));
    EXPECT_EQ(title.pixels.size(), size_t(title.texWidth) * title.texHeight * 4);
    EXPECT_GT(visiblePixels(title), 50);
    // Nothing is drawn below the line: the text sits inside the measured extent.
    for (int y = title.extentHeight; y < title.texHeight; ++y)
        for (int x = 0; x < title.texWidth; ++x)
            EXPECT_EQ(title.pixels[(size_t(y) * title.texWidth + x) * 4 + 3], 0) << x << "," << y;
    // Solid text keeps the text colour; every visible pixel is a shade of it.
    for (size_t i = 0; i < title.pixels.size(); i += 4) {
        if (title.pixels[i + 3] == 255) {
            EXPECT_EQ(Bytes(&title.pixels[i], &title.pixels[i + 3]), (Bytes{60, 60, 60}));
        }
    }
    closeSystemFont(title.font);
}

TEST(TitlePixels, ShiftJisAndUtf8JapaneseTitlesRenderAlike)
{
    const TitleTexture utf8 = renderedTitle(TestJapaneseUtf8);
    const TitleTexture shiftJis = renderedTitle(TestJapaneseCp932);
    EXPECT_EQ(shiftJis.utf8Text, TestJapaneseUtf8);
    EXPECT_EQ(utf8.extentHeight, 36);
    EXPECT_GT(utf8.extentWidth, 4 * 24);
    EXPECT_EQ(shiftJis.extentWidth, utf8.extentWidth);
    EXPECT_EQ(shiftJis.extentHeight, utf8.extentHeight);
    EXPECT_GT(visiblePixels(utf8), 200);
    EXPECT_EQ(shiftJis.pixels, utf8.pixels);

    // Real glyphs, not one missing-glyph box repeated: two different kana draw differently.
    const TitleTexture te = renderedTitle("\x83\x65");
    const TitleTexture su = renderedTitle("\x83\x58");
    EXPECT_GT(visiblePixels(te), 20);
    EXPECT_NE(te.pixels, su.pixels);
}

TEST(TitlePixels, JapaneseTitlesGetAJapaneseFace)
{
    const std::string text = titleTextToUtf8(TestJapaneseCp932);
    SystemFont japanese = openSystemFont(text, 36);
    SystemFont latin = openSystemFont("Song", 36);
    ASSERT_NE(japanese.face, nullptr);
    ASSERT_NE(latin.face, nullptr);
    std::printf("sans: %s\nJapanese: %s\n", latin.name.c_str(), japanese.name.c_str());
    EXPECT_NE(japanese.name, latin.name);
    closeSystemFont(japanese);
    closeSystemFont(latin);
}

TEST(TitlePixels, OddTitlesNeverFail)
{
    const struct {
        const char *name;
        std::string text;
        int fontSize;
        bool visible;
    } cases[] = {
        {"empty", "", 18, false},
        {"blanks", "   ", 18, false},
        {"no font size", "Song", 0, false},
        {"undecodable bytes", "\x80\xFF\xFD", 18, true},
        {"lone lead byte", "A\x82", 18, true},
        {"control bytes", "\t\x01\x7F", 18, false},
        {"two lines", "AB\nCD", 18, true},
        {"very long", std::string(600, 'W'), 18, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const TitleTexture title = renderedTitle(c.text, c.fontSize);
        EXPECT_GE(title.texWidth, 1);
        EXPECT_GE(title.texHeight, 1);
        EXPECT_LE(title.texWidth, 4096);
        EXPECT_EQ(title.pixels.size(), size_t(title.texWidth) * title.texHeight * 4);
        EXPECT_EQ(visiblePixels(title) > 0, c.visible);
    }
}

TEST(TitlePixels, LinesStepByTheFontSize)
{
    const TitleTexture one = renderedTitle("AB", 18);
    const TitleTexture two = renderedTitle("AB\nAB", 18);
    ASSERT_EQ(two.texWidth, powerOfTwoAtLeast(two.extentWidth));
    // The second line repeats the first 18 rows further down, clipped at the texture's bottom.
    for (int y = 18; y < two.texHeight; ++y) {
        for (int x = 0; x < one.texWidth && x < two.texWidth; ++x) {
            const uint8_t below = two.pixels[(size_t(y) * two.texWidth + x) * 4 + 3];
            const uint8_t above = one.pixels[(size_t(y - 18) * one.texWidth + x) * 4 + 3];
            if (above == 255) {
                ASSERT_GT(below, 0) << x << "," << y;
            }
        }
    }
}

TEST(TitleEncoding, Utf8StaysAndEverythingElseIsCp932)
{
    const struct {
        std::string bytes;
        std::string utf8;
    } cases[] = {
        {"Song 1", "Song 1"},
        {"\xC3\xA9t\xC3\xA9", "\xC3\xA9t\xC3\xA9"},
        {TestJapaneseUtf8, TestJapaneseUtf8},
        {TestJapaneseCp932, TestJapaneseUtf8},
        {"\x81\x9A\x81\x99", "\xE2\x98\x85\xE2\x98\x86"},
        {"A\x80"
         "B",
         "A\xEF\xBF\xBD"
         "B"},
        {"\x82", "\xEF\xBF\xBD"},
        {"\x82 x", "\xEF\xBF\xBD x"},
        {"\xFF\xFD", "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"\xC0\xAF", "\xEF\xBE\x80\xEF\xBD\xAF"},     // overlong UTF-8 is halfwidth kana in CP932
        {"\xED\xA0\x80", "\xE6\x81\x9D\xEF\xBF\xBD"}, // a UTF-8 surrogate is not UTF-8
        {"\x87\x40", "\xE2\x91\xA0"},                 // circled 1, in CP932 but not in plain Shift-JIS
        {"", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        EXPECT_EQ(titleTextToUtf8(c.bytes), c.utf8);
    }
}

// Titles open at the same time share the faces they have in common, and each draws exactly as it
// does on a face opened for it alone.
TEST(TitlePixels, TitlesOnSharedFacesDrawAsTitlesDrawnAlone)
{
    const struct {
        std::string text;
        int fontSize;
    } cases[] = {
        {"test", 12},
        {"Glass Harbor (Extra)", 18},
        {"Glass Harbor (Extra)", 12},
        {TestJapaneseCp932, 18},
        {TestJapaneseUtf8, 12},
        {"Mixed \x83\x65\x83\x58 text", 18},
        {"\xC3\xA9t\xC3\xA9 caf\xC3\xA9", 18},
        {"\xEC\x95\x88\xEB\x85\x95 Korean", 18},
        {"AB\nCD", 18},
        {"Song 2", 18},
    };
    ASSERT_EQ(mappedFontFiles(), 0);
    std::vector<TitleTexture> alone;
    std::vector<std::string> aloneFaces;
    for (const auto &c : cases) {
        TitleTexture &title = alone.emplace_back();
        title.text = c.text;
        title.fontSize = c.fontSize;
        layOutTitle(title);
        drawTitlePixels(title);
        aloneFaces.push_back(title.font.name);
        closeSystemFont(title.font);
        ASSERT_EQ(mappedFontFiles(), 0) << c.text;
    }

    std::vector<TitleTexture> shared(std::size(cases));
    std::set<std::string> faces;
    for (size_t i = 0; i < shared.size(); ++i) {
        shared[i].text = cases[i].text;
        shared[i].fontSize = cases[i].fontSize;
        layOutTitle(shared[i]);
        faces.insert(shared[i].font.name);
    }
    EXPECT_GE(faces.size(), 2u);
    EXPECT_EQ(mappedFontFiles(), int(faces.size()));
    // Drawn in the opposite order, and the first twice, so that every title is drawn after titles
    // of the other size have used its face.
    for (size_t i = shared.size(); i-- > 0;)
        drawTitlePixels(shared[i]);
    drawTitlePixels(shared[0]);
    for (size_t i = 0; i < shared.size(); ++i) {
        SCOPED_TRACE(cases[i].text);
        EXPECT_EQ(shared[i].font.name, aloneFaces[i]);
        EXPECT_EQ(shared[i].extentWidth, alone[i].extentWidth);
        EXPECT_EQ(shared[i].extentHeight, alone[i].extentHeight);
        EXPECT_EQ(shared[i].pixels, alone[i].pixels);
    }

    for (TitleTexture &title : shared)
        closeSystemFont(title.font);
    EXPECT_EQ(mappedFontFiles(), 0);
}
