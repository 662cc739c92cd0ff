#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "app/app_context.h"
#include "gfx/frame_context.h"
#include "gfx/help_page.h"
#include "gfx/screen_texts.h"
#include "gfx/text_quads.h"
#include "rules/judgement_rules.h"
#include "rules/song_scoring.h"

namespace {

constexpr uint32_t Now = 1000000;
constexpr int Width = 640, Height = 480;

FrameContext frameAt(int state)
{
    FrameContext frame;
    frame.nowMs = Now;
    frame.state = state;
    frame.metrics = fieldMetrics(Width, Height, 20, static_cast<double>(Height) / Width);
    return frame;
}

std::string text(const TextRow &row) { return std::string(row.text, row.length); }

const TextRow *findRow(const ScreenTextLayout &out, const std::string &wanted)
{
    for (int i = 0; i < out.rowCount; i++) {
        if (text(out.rows[i]) == wanted)
            return &out.rows[i];
    }
    return nullptr;
}

ScreenTextLayout layout(int state)
{
    ScreenTextLayout out;
    layoutScreenTexts(frameAt(state), out);
    EXPECT_EQ(out.droppedRows, 0);
    return out;
}

class BestAndHelpTexts : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetAppContext();
        gfx.fontTexture = 1;
    }

    // Every row of the help page is drawn with glyphs the font has (a missing one would be a
    // blank cell) and lies inside a window of this size, and the numbers come from the rules.
    static void expectHelpPageFits(int width, int height);
};

} // namespace

TEST_F(BestAndHelpTexts, SelectShowsTheBestUnderTheStars)
{
    for (const char *name : {"a.txt", "b.txt"}) {
        SongEntry song;
        song.fileName = name;
        song.level = 2;
        catalogue.songs.push_back(song);
        catalogue.titleTextures.emplace_back();
    }
    BestScore best;
    best.score = 98760;
    best.date = "2026-12-07";
    bests.byChart["b.txt"] = best;

    menu.selectedSong = 0;
    const ScreenTextLayout never = layout(Select);
    EXPECT_EQ(never.rowCount, 7) << "nothing for a chart never played";

    menu.selectedSong = 1;
    const ScreenTextLayout played = layout(Select);
    const TextRow *level = nullptr;
    for (int i = 0; i < played.rowCount; i++) {
        if (text(played.rows[i]).rfind("LEVEL ", 0) == 0)
            level = &played.rows[i];
    }
    const TextRow *row = findRow(played, "BEST 98760");
    ASSERT_NE(row, nullptr);
    ASSERT_NE(level, nullptr);
    EXPECT_GT(row->y, level->y + level->glyphHeight - 1) << "under the stars";
    // The header band lies 0.1 each way of view y aspect - 0.3: the row is wholly below it.
    EXPECT_GE(row->y, static_cast<int>(-(0.75 - 0.4) * Width / 2 + Height / 2) + 2) << "clear of the band";
    EXPECT_LE(row->y + row->glyphHeight, static_cast<int>(-(0.75 - 0.4) * Width / 2 + Height / 2) + 30);
    EXPECT_EQ(row->x, Width / 2 - row->length * row->advance / 2) << "centred";
}

TEST_F(BestAndHelpTexts, NewBestFlashesOnTheStageResult)
{
    music.streamState = Finished;
    play.phaseStartTime = Now - 60000;
    struct Case {
        uint32_t sinceEnd;
        bool newBest;
        bool shown;
    } cases[] = {
        {500, true, false},                        // waits for the BONUS
        {1100, true, true},                        // lit
        {1300, true, false},                       // dark half of the blink
        {1600, true, true},                        // lit again
        {2800, true, false},                       // still blinking
        {3000, true, true},                        // then it stays
        {9000, true, true},  {9000, false, false}, // no new best, nothing
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.sinceEnd);
        bests.lastSongSetBest = c.newBest;
        play.resultTime = Now - c.sinceEnd;
        const ScreenTextLayout out = layout(Play);
        const TextRow *row = findRow(out, "NEW BEST");
        EXPECT_EQ(row != nullptr, c.shown);
        if (row != nullptr) {
            const TextRow *miss = nullptr;
            for (int i = 0; i < out.rowCount; i++) {
                if (text(out.rows[i]).rfind("MISS", 0) == 0)
                    miss = &out.rows[i];
            }
            ASSERT_NE(miss, nullptr);
            EXPECT_GE(row->y, miss->y + miss->glyphHeight) << "below the totals, clear of them";
        }
    }
}

TEST_F(BestAndHelpTexts, AnEmptyCatalogueSaysWhereToLook)
{
    const ScreenTextLayout out = layout(Select);
    const TextRow *row = findRow(out, "NO SONGS - SEE README");
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->x, Width / 2 - 21 * 20 / 2);
    // Where the title picture stands: centred on view y aspect - 0.25.
    EXPECT_EQ(row->y + row->glyphHeight / 2, static_cast<int>(-(0.75 - 0.25) * Width / 2 + Height / 2));
    EXPECT_FALSE(out.showsTitlePicture);
    EXPECT_EQ(findRow(out, "PRESS SPACE KEY TO PLAY"), nullptr) << "nothing to play";
}

TEST_F(BestAndHelpTexts, HelpPageFitsAndSpeaksInTheFontsGlyphs)
{
    for (const auto &[width, height] :
         {std::pair{640, 480}, std::pair{640, 360}, std::pair{480, 640}, std::pair{1920, 1080}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        expectHelpPageFits(width, height);
    }
}

void BestAndHelpTexts::expectHelpPageFits(int width, int height)
{
    HelpPageLayout page;
    layoutHelpPage(fieldMetrics(width, height, 20, static_cast<double>(height) / width), page);
    ASSERT_GT(page.rowCount, 10);
    ASSERT_LT(page.rowCount, HelpPageLayout::Capacity) << "a row past the capacity is never drawn";
    std::string all;
    for (int i = 0; i < page.rowCount; i++) {
        const TextRow &row = page.rows[i];
        SCOPED_TRACE(text(row));
        int glyphs = 0;
        for (int at = 0; at < row.length; glyphs++) {
            int consumed = 1;
            const GlyphCell cell = glyphCellAt(row.text + at, row.length - at, &consumed);
            const bool blank = cell.column == GlyphCell{}.column && cell.row == GlyphCell{}.row;
            EXPECT_TRUE(!blank || row.text[at] == ' ') << "no glyph for '" << row.text[at] << "'";
            at += consumed;
        }
        EXPECT_GE(row.x, 0);
        EXPECT_LE(row.x + glyphs * row.advance, width);
        EXPECT_GE(row.y, 0);
        EXPECT_LE(row.y + row.glyphHeight, height);
        EXPECT_GE(row.glyphHeight, 8) << "still readable";
        if (i > 0) {
            EXPECT_GE(row.y, page.rows[i - 1].y + page.rows[i - 1].glyphHeight) << "rows do not overlap";
        }
        all += text(row) + "\n";
    }
    EXPECT_NE(all.find("GREAT WITHIN " + std::to_string(GreatWindowMs) + " MS"), std::string::npos) << all;
    EXPECT_NE(all.find("GOOD WITHIN " + std::to_string(GoodWindowMs) + " MS"), std::string::npos) << all;
    for (const char *key : {"F11", "SHIFT+Z", "MINUS", "EQUALS", "[  ]", "P  ", "C  ", "SPACE", "W  E", "V  "})
        EXPECT_NE(all.find(key), std::string::npos) << key;
    EXPECT_NE(all.find("VOICE INPUT"), std::string::npos) << all;
    // The unlock rule in words, with its numbers from the rule.
    EXPECT_NE(all.find("SCORE " + std::to_string(unlockThreshold(1)) + " OR MORE IN ONE STAGE"), std::string::npos)
        << all;
    EXPECT_NE(all.find(std::to_string(unlockThreshold(1) - unlockThreshold(2)) + " LESS FOR EACH LEVEL"),
              std::string::npos)
        << all;
    EXPECT_EQ(all.find("/LEVEL"), std::string::npos) << all;
}
