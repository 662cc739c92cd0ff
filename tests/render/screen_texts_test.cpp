#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/app_context.h"
#include "gfx/frame_context.h"
#include "gfx/hud_renderer.h"
#include "gfx/screen_texts.h"

namespace {

constexpr uint32_t Now = 1000000;

FrameContext frameAt(int state, uint32_t now = Now, bool rankingKeyDown = false)
{
    const int width = 640, height = 480;
    FrameContext frame;
    frame.nowMs = now;
    frame.rankingKeyDown = rankingKeyDown;
    frame.state = state;
    frame.metrics = fieldMetrics(width, height, 20, static_cast<double>(height) / width);
    return frame;
}

ScreenTextLayout layout(const FrameContext &frame)
{
    ScreenTextLayout out;
    layoutScreenTexts(frame, out);
    EXPECT_EQ(out.droppedRows, 0);
    return out;
}

std::string text(const TextRow &row) { return std::string(row.text, row.length); }

const TextRow *findRow(const ScreenTextLayout &out, const std::string &prefix)
{
    for (int i = 0; i < out.rowCount; i++) {
        if (text(out.rows[i]).compare(0, prefix.size(), prefix) == 0)
            return &out.rows[i];
    }
    return nullptr;
}

struct Expected {
    const char *text;
    int x, y, height, advance;
};

void expectRows(const ScreenTextLayout &out, std::initializer_list<Expected> rows)
{
    for (const Expected &e : rows) {
        const TextRow *row = findRow(out, e.text);
        ASSERT_NE(row, nullptr) << e.text;
        EXPECT_EQ(text(*row), e.text);
        EXPECT_EQ(row->x, e.x) << e.text;
        EXPECT_EQ(row->y, e.y) << e.text;
        EXPECT_EQ(row->glyphHeight, e.height) << e.text;
        EXPECT_EQ(row->advance, e.advance) << e.text;
    }
}

class ScreenTexts : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetAppContext();
        gfx.fontTexture = 1;
    }
};

TEST_F(ScreenTexts, TitleLogoAndPromptInEvenSeconds)
{
    play.phaseStartTime = Now - 500;
    expectRows(layout(frameAt(Title)), {{"LUMATIDE", 160, 100, 40, 40},
                                        {"\x81\xA8:HI-SCORE RANKING", 335, 315, 15, 15},
                                        {"PRESS SPACE KEY TO START", 80, 408, 20, 20},
                                        {"SCROLL 1.0", 526, 448, 15, 10}});
    for (uint32_t since : {1000u, 1999u, 3500u}) {
        play.phaseStartTime = Now - since;
        EXPECT_EQ(findRow(layout(frameAt(Title)), "PRESS"), nullptr) << since;
    }
    // A mark ahead of the clock counts by the size of the gap.
    play.phaseStartTime = Now + 2500;
    EXPECT_NE(findRow(layout(frameAt(Title)), "PRESS"), nullptr);
    EXPECT_EQ(findRow(layout(frameAt(Title)), "STAGE"), nullptr);
}

TEST_F(ScreenTexts, TitleRankingBlinksTheNewEntry)
{
    credit.newRankIndex = 3;
    play.phaseStartTime = Now - 400;
    const ScreenTextLayout even = layout(frameAt(Title, Now, true));
    EXPECT_EQ(findRow(even, "LUMATIDE"), nullptr);
    expectRows(even, {{"1ST 150000", 220, 50, 20, 20},
                      {"2ND 140000", 220, 78, 20, 20},
                      {"3RD 130000", 220, 107, 20, 20},
                      {"4TH 120000", 220, 136, 20, 20},
                      {"10TH  60000", 210, 309, 20, 20},
                      {"PRESS SPACE KEY TO START", 80, 408, 20, 20}});
    play.phaseStartTime = Now - 1400;
    const ScreenTextLayout odd = layout(frameAt(Title, Now, true));
    EXPECT_EQ(findRow(odd, "4TH"), nullptr);
    EXPECT_NE(findRow(odd, "3RD"), nullptr);
    EXPECT_NE(findRow(odd, "5TH"), nullptr);
    EXPECT_EQ(findRow(odd, "PRESS"), nullptr);
}

TEST_F(ScreenTexts, SelectRows)
{
    SongEntry song;
    song.level = 3;
    catalogue.songs.push_back(song);
    catalogue.titleTextures.emplace_back();
    menu.scrollSpeed = 2.5;
    const ScreenTextLayout out = layout(frameAt(Select));
    expectRows(out, {{"SCROLL 2.5", 526, 448, 15, 10},
                     {"STAGE 1", 16, 12, 20, 20},
                     {"PRESS SPACE KEY TO PLAY", 90, 408, 20, 20},
                     {"\x81\xA9\x81\xA8    : SELECT", 20, 255, 20, 20},
                     {"SPACE : START", 20, 275, 20, 20},
                     {"\x81\xAA     : AUTOPLAY", 20, 295, 20, 20},
                     {"LEVEL \x81\x9A\x81\x9A\x81\x9A\x81\x99\x81\x99\x81\x99\x81\x99", 190, 100, 20, 20}});
    EXPECT_TRUE(out.showsTitlePicture);
    EXPECT_DOUBLE_EQ(out.titlePictureY, 0.5);
    // The drawing order: label, stage, prompt, keys, level.
    EXPECT_EQ(text(out.rows[0]), "SCROLL 2.5");
    EXPECT_EQ(text(out.rows[1]), "STAGE 1");
    EXPECT_EQ(text(out.rows[2]), "PRESS SPACE KEY TO PLAY");
    EXPECT_EQ(out.rowCount, 7);
}

TEST_F(ScreenTexts, SelectWithoutFontOrSongs)
{
    gfx.fontTexture = 0;
    catalogue.songs.emplace_back();
    catalogue.titleTextures.emplace_back();
    const ScreenTextLayout noFont = layout(frameAt(Select));
    EXPECT_EQ(noFont.rowCount, 1);
    EXPECT_NE(findRow(noFont, "STAGE 1"), nullptr);
    EXPECT_FALSE(noFont.showsTitlePicture);

    gfx.fontTexture = 1;
    catalogue.songs.clear();
    const ScreenTextLayout noSongs = layout(frameAt(Select));
    EXPECT_EQ(findRow(noSongs, "LEVEL"), nullptr);
    EXPECT_FALSE(noSongs.showsTitlePicture);
}

TEST_F(ScreenTexts, PlayRowsAndScoreRounding)
{
    play.phaseStartTime = 0;
    menu.autoplay = 1;
    play.playStartTime = Now - 5000;
    play.displayedScore = 12344.0;
    catalogue.titleTextures.emplace_back();
    credit.stage = 1;
    const ScreenTextLayout out = layout(frameAt(Play));
    expectRows(out, {{"STAGE 2", 16, 12, 20, 20},
                     {" 12340", 25, 446, 20, 20},
                     {"READY", 270, 230, 20, 20},
                     {"AUTOPLAY", 464, 412, 20, 20}});
    EXPECT_TRUE(out.showsTitlePicture);
    EXPECT_NEAR(out.titlePictureY, 0.675, 1e-12);

    struct Case {
        double score;
        const char *shown;
    };
    for (const Case &c : {Case{12345.0, " 12350"}, Case{4.0, "     0"}, Case{5.0, "    10"}, Case{99995.0, "100000"}}) {
        play.displayedScore = c.score;
        EXPECT_NE(findRow(layout(frameAt(Play)), c.shown), nullptr) << c.score;
    }
}

TEST_F(ScreenTexts, SongEndRows)
{
    music.streamState = Finished;
    play.phaseStartTime = Now - 60000;
    play.gauge = 90.0;
    chart.clearNorm = 0.8;
    credit.clearBonus = 1230;
    play.judgementCounts[0] = 1;
    play.judgementCounts[1] = 22;
    play.judgementCounts[2] = 333;
    play.fullComboTime = Now - 3000;

    play.resultTime = 0;
    EXPECT_EQ(findRow(layout(frameAt(Play)), "CLEAR"), nullptr);

    play.resultTime = Now - 1500;
    expectRows(layout(frameAt(Play)), {{"CLEAR", 245, 140, 30, 30},
                                       {"BONUS  1230", 310, 170, 20, 20},
                                       {"GREAT 333", 230, 210, 20, 20},
                                       {"GOOD   22", 230, 230, 20, 20},
                                       {"MISS    1", 230, 250, 20, 20},
                                       {"PRESS SPACE KEY", 170, 408, 20, 20},
                                       {"FULL COMBO", 220, 100, 20, 20}});

    // The verdict slides in from 600 pixels to the left; BONUS waits for a second.
    play.gauge = 79.0;
    play.resultTime = Now - 100;
    const ScreenTextLayout early = layout(frameAt(Play));
    expectRows(early, {{"FAILED", 230 - 300, 140, 30, 30}});
    EXPECT_EQ(findRow(early, "BONUS"), nullptr);
    play.resultTime = Now;
    expectRows(layout(frameAt(Play)), {{"FAILED", 230 - 600, 140, 30, 30}});
}

TEST_F(ScreenTexts, ResultRowsAppearInTurn)
{
    play.displayedScore = 123450.0;
    credit.creditJudgementCounts[2] = 400;
    credit.newRankIndex = 2;
    struct Case {
        uint32_t since;
        bool score, rank, prompt;
    };
    const Case cases[] = {{500, false, false, false}, {1001, true, false, false},  {2001, true, true, false},
                          {4001, true, true, true},   {1000, false, false, false}, {4000, true, true, false}};
    for (const Case &c : cases) {
        play.resultTime = Now - c.since;
        const ScreenTextLayout out = layout(frameAt(Result));
        expectRows(out, {{"TOTAL RESULT", 80, 27, 40, 40}});
        EXPECT_EQ(findRow(out, "SCORE") != nullptr, c.score) << c.since;
        EXPECT_EQ(findRow(out, "3RD RANK IN") != nullptr, c.rank) << c.since;
        EXPECT_EQ(findRow(out, "PRESS SPACE KEY TO START") != nullptr, c.prompt) << c.since;
        EXPECT_EQ(findRow(out, "STAGE"), nullptr);
    }
    expectRows(layout(frameAt(Result)), {{"SCORE 123450", 140, 160, 30, 30},
                                         {"GREAT 400", 230, 220, 20, 20},
                                         {"MISS    0", 230, 260, 20, 20},
                                         {"3RD RANK IN", 310, 185, 20, 20}});
    credit.newRankIndex = 10;
    EXPECT_EQ(findRow(layout(frameAt(Result)), "11TH"), nullptr);
}

TEST_F(ScreenTexts, JudgementPopup)
{
    chart.notes.resize(3);
    chart.noteCount = 2;
    chart.notes[1].prev = &chart.notes[0];
    chart.notes[0].screenX = 0.5;
    chart.noteIndex = 1;
    chart.currentNote = &chart.notes[1];
    play.lastJudgement = Great;

    struct Case {
        uint32_t since;
        uint16_t combo;
        int rows, wordY;
    };
    const Case cases[] = {{0, 5, 2, 160},   {25, 1, 1, 161},  {249, 2, 2, 170},
                          {250, 2, 2, 170}, {749, 2, 2, 170}, {750, 2, 0, 0}};
    for (const Case &c : cases) {
        play.lastJudgementTime = Now - c.since;
        play.combo = c.combo;
        ScreenTextLayout out;
        layoutJudgementPopup(frameAt(Play), out);
        ASSERT_EQ(out.rowCount, c.rows) << c.since;
        if (c.rows == 0)
            continue;
        EXPECT_EQ(text(out.rows[0]), "GREAT");
        EXPECT_EQ(out.rows[0].x, 448 - 50);
        EXPECT_EQ(out.rows[0].y, c.wordY) << c.since;
        EXPECT_FLOAT_EQ(out.rows[0].colour[1], 0.9f);
        if (c.rows == 2) {
            EXPECT_EQ(text(out.rows[1]), std::to_string(c.combo) + " COMBO");
            EXPECT_EQ(out.rows[1].x, 448 - 10 * out.rows[1].length);
            EXPECT_EQ(out.rows[1].y, 195);
        }
    }
    // No pop-up before the first judgement, nor without a note to stand on.
    play.lastJudgementTime = Now;
    ScreenTextLayout none;
    chart.noteIndex = 0;
    layoutJudgementPopup(frameAt(Play), none);
    EXPECT_EQ(none.rowCount, 0);
    chart.noteIndex = 1;
    chart.currentNote = nullptr;
    layoutJudgementPopup(frameAt(Play), none);
    EXPECT_EQ(none.rowCount, 0);
    chart.currentNote = &chart.notes[1];
    chart.notes[1].prev = nullptr;
    layoutJudgementPopup(frameAt(Play), none);
    EXPECT_EQ(none.rowCount, 0);
}

// Every row of the busiest screens fits; they fill the layout exactly.
TEST_F(ScreenTexts, BusiestScreensFillTheLayout)
{
    play.phaseStartTime = Now - 400;
    EXPECT_EQ(layout(frameAt(Title, Now, true)).rowCount, ScreenTextLayout::Capacity);

    // A song that ends during its lead-in, in AUTOPLAY, cleared with a full combo.
    play.phaseStartTime = 0;
    menu.autoplay = 1;
    music.streamState = Finished;
    play.resultTime = Now - 1500;
    play.gauge = 100.0;
    credit.clearBonus = 1000;
    play.fullComboTime = Now - 10;
    EXPECT_EQ(layout(frameAt(Play)).rowCount, ScreenTextLayout::Capacity);
}

TEST_F(ScreenTexts, OrdinalsAndGlyphs)
{
    const char *expected[] = {"1ST", "2ND", "3RD", "4TH", "10TH"};
    const int places[] = {0, 1, 2, 3, 9};
    for (int i = 0; i < 5; i++) {
        char out[16];
        placeOrdinal(places[i], out, sizeof out);
        EXPECT_STREQ(out, expected[i]);
    }
    EXPECT_EQ(glyphCount("LEVEL \x81\x9A\x81\x99", 10), 8);
    EXPECT_EQ(glyphCount("AB\x81", 3), 3);
}

TEST_F(ScreenTexts, HeaderBandPerScreen)
{
    struct Case {
        int state;
        uint32_t since;
        bool rankingKeyDown;
        bool shown;
        double y;
    };
    const Case cases[] = {
        {Select, 0, false, true, 0.45}, {Play, 0, false, true, 0.45},       {Play, 500, false, true, 0.6375},
        {Play, 1000, false, true, 0.7}, {Title, 0, false, true, 0.375},     {Title, 0, true, false, 0.0},
        {Result, 0, false, true, 0.75}, {Result, 100, false, true, 0.6375}, {Result, 200, false, true, 0.6},
    };
    for (const Case &c : cases) {
        play.playStartTime = Now - c.since;
        play.resultTime = Now - c.since;
        double y = 0.0;
        EXPECT_EQ(headerBandY(frameAt(c.state, Now, c.rankingKeyDown), y), c.shown);
        if (c.shown) {
            EXPECT_NEAR(y, c.y, 1e-12) << c.state << " " << c.since;
        }
    }
}

} // namespace
