// Whole frames drawn into a real window and read back: every screen at 640 x 480 and after a
// resize to 16:9, checked at the positions and in the colours the game lays out.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "app/app_context.h"
#include "chart_setup.h"
#include "frame_capture.h"
#include "gfx/frame_context.h"
#include "gfx/render_frame.h"
#include "gfx/screen_texts.h"
#include "rules/control_layout.h"

namespace {

constexpr uint32_t Now = 2000000;

struct Textures {
    unsigned blockFont = 0, iconStrip = 0, titlePicture = 0;
    unsigned gameFont = 0, gameIcons = 0; // the real images, when the build folder has them
};

const Textures &textures()
{
    static const Textures made = [] {
        Textures t;
        t.blockFont = makeBlockFont();
        t.iconStrip = makeIconStrip();
        t.titlePicture = makeSolidTexture(64, 32, 255, 0, 0);
        t.gameFont = loadBuildImage("font_l.png");
        t.gameIcons = loadBuildImage("wave.png");
        return t;
    }();
    return made;
}

bool isWhite(const Rgb &p) { return p.r >= 250 && p.g >= 250 && p.b >= 250; }
int grey(const Rgb &p) { return (p.r + p.g + p.b) / 3; }

class RenderPixels : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(openRenderWindow()) << "needs a display (run under xvfb-run)";
        resetAppContext();
        useClientSize(WindowWidth, WindowHeight);
        gfx.fontTexture = textures().blockFont;
        gfx.waveTexture = textures().iconStrip;
    }

    void TearDown() override { resetAppContext(); }

    int width() const { return window.clientWidth; }
    int height() const { return window.clientHeight; }

    // Draws the frame, saves a screenshot (with the game's own font when the build has it) and
    // returns the frame drawn with the block font.
    Capture render(const std::string &name, bool rankingKeyDown = false)
    {
        drawFrame(FrameInput{Now, rankingKeyDown});
        Capture capture = captureFrame(height());
        const std::string file = name + "_" + std::to_string(width()) + "x" + std::to_string(height());
        if (textures().gameFont != 0) {
            gfx.fontTexture = textures().gameFont;
            gfx.waveTexture = textures().gameIcons != 0 ? textures().gameIcons : textures().iconStrip;
            drawFrame(FrameInput{Now, rankingKeyDown});
            saveScreenshot(captureFrame(height()), width(), file);
            gfx.fontTexture = textures().blockFont;
            gfx.waveTexture = textures().iconStrip;
        } else {
            saveScreenshot(capture, width(), file);
        }
        return capture;
    }

    // The frame alone, for comparisons within a test.
    Capture draw()
    {
        drawFrame(FrameInput{Now, false});
        return captureFrame(height());
    }

    FrameContext frame(bool rankingKeyDown = false) const
    {
        FrameContext f;
        f.nowMs = Now;
        f.rankingKeyDown = rankingKeyDown;
        f.state = menu.state;
        f.metrics = fieldMetrics(width(), height(), window.fieldMargin, window.aspect);
        return f;
    }

    // Every white row of the screen's layout shows a solid first glyph where the layout puts it.
    void expectWhiteRowsDrawn(const Capture &capture, bool rankingKeyDown = false)
    {
        ScreenTextLayout layout;
        layoutScreenTexts(frame(rankingKeyDown), layout);
        int checked = 0;
        for (int i = 0; i < layout.rowCount; i++) {
            const TextRow &row = layout.rows[i];
            if (row.colour[0] != 1.0f || row.colour[1] != 1.0f || row.text[0] == ' ' || row.x < 0)
                continue;
            SCOPED_TRACE(std::string(row.text, row.length));
            expectGlyphAt(capture, row.x, row.y, row.advance, row.glyphHeight);
            const int leftX = row.x - 2, leftY = row.y + row.glyphHeight / 2;
            if (!insideOtherRow(layout, i, leftX, leftY)) {
                EXPECT_FALSE(isWhite(capture.at(leftX, leftY)));
            }
            checked++;
        }
        EXPECT_GT(checked, 0);
    }

    // Rows may overlap: at 16:9 the title's ranking hint (at a fixed y) runs into the prompt.
    static bool insideOtherRow(const ScreenTextLayout &layout, int self, int px, int py)
    {
        for (int i = 0; i < layout.rowCount; i++) {
            const TextRow &row = layout.rows[i];
            if (i != self && px >= row.x && px < row.x + row.length * row.advance && py >= row.y &&
                py < row.y + row.glyphHeight)
                return true;
        }
        return false;
    }

    // A solid glyph: white just inside all four corners of its cell.
    void expectGlyphAt(const Capture &capture, int x, int y, int advance, int glyphHeight)
    {
        EXPECT_TRUE(isWhite(capture.at(x + 1, y + 1))) << x << "," << y;
        EXPECT_TRUE(isWhite(capture.at(x + advance - 2, y + 1))) << x << "," << y;
        EXPECT_TRUE(isWhite(capture.at(x + 1, y + glyphHeight - 2))) << x << "," << y;
        EXPECT_TRUE(isWhite(capture.at(x + advance - 2, y + glyphHeight - 2))) << x << "," << y;
    }

    // The first glyph of a text with nothing white just left of it or just above it.
    void expectTextStartsAt(const Capture &capture, int x, int y, int advance, int glyphHeight)
    {
        expectGlyphAt(capture, x, y, advance, glyphHeight);
        EXPECT_FALSE(isWhite(capture.at(x - 2, y + glyphHeight / 2))) << x << "," << y;
        EXPECT_FALSE(isWhite(capture.at(x + 1, y - 2))) << x << "," << y;
    }

    // Client pixel of a view position.
    int pixelX(double viewX) const { return static_cast<int>(std::lround((viewX + 1.0) * (width() / 2))); }
    int pixelY(double viewY) const { return static_cast<int>(std::lround((window.aspect - viewY) * (width() / 2))); }

    void setUpTitle(uint32_t sinceTitle)
    {
        menu.state = Title;
        play.phaseStartTime = Now - sinceTitle;
    }

    void setUpSelect()
    {
        menu.state = Select;
        SongEntry song;
        song.level = 3;
        catalogue.songs.push_back(song);
        TitleTexture title;
        title.extentWidth = 60;
        title.extentHeight = 24;
        title.texWidth = 64;
        title.texHeight = 32;
        title.texture = textures().titlePicture;
        catalogue.titleTextures.push_back(title);
    }

    void setUpPlay() { showPlayScreen(Now); }
};

ChartNote note(uint32_t timeMs, double pitch, int linked = 0, uint16_t state = 1)
{
    ChartNote n;
    n.timeMs = timeMs;
    n.pitch = pitch;
    n.linked = linked;
    n.state = static_cast<NoteState>(state);
    return n;
}

TEST_F(RenderPixels, TitleLogo)
{
    setUpTitle(500);
    const Capture capture = render("title");
    // "LUMATIDE" in 40-pixel cells from (160, 100).
    expectTextStartsAt(capture, 160, 100, 40, 40);
    expectGlyphAt(capture, 160 + 7 * 40, 100, 40, 40);
    EXPECT_FALSE(isWhite(capture.at(160 + 8 * 40 + 2, 120)));
    expectTextStartsAt(capture, 80, 408, 20, 20); // PRESS SPACE KEY TO START
    expectWhiteRowsDrawn(capture);
    // The header band behind the logo: light grey from y 88 to 152 across the width.
    EXPECT_GT(grey(capture.at(100, 92)), grey(capture.at(100, 84)) + 40);
    EXPECT_GT(grey(capture.at(100, 148)), grey(capture.at(100, 156)) + 40);
    // The background darkens downward.
    EXPECT_GT(grey(capture.at(230, 200)), grey(capture.at(230, 330)));

    setUpTitle(1500);
    const Capture odd = render("title_odd_second");
    EXPECT_FALSE(isWhite(odd.at(81, 409)));
    expectGlyphAt(odd, 160, 100, 40, 40);
}

TEST_F(RenderPixels, TitleRanking)
{
    setUpTitle(500);
    credit.newRankIndex = 4;
    const Capture capture = render("title_ranking", true);
    expectTextStartsAt(capture, 220, 50, 20, 20); // 1ST 150000
    expectGlyphAt(capture, 210, 309, 20, 20);     // 10TH  60000
    expectWhiteRowsDrawn(capture, true);
    // No logo and no header band while the ranking shows.
    EXPECT_FALSE(isWhite(capture.at(162, 135)));
    EXPECT_LT(std::abs(grey(capture.at(100, 120)) - grey(capture.at(100, 160))), 20);

    setUpTitle(1500);
    const Capture odd = render("title_ranking_odd_second", true);
    EXPECT_FALSE(isWhite(odd.at(221, 165 + 1))); // the new fifth place blinks off
    expectGlyphAt(odd, 220, 136, 20, 20);
}

TEST_F(RenderPixels, Select)
{
    setUpSelect();
    window.hoverControl = ControlPreviousSong;
    menu.waveType = 2;
    const Capture capture = render("select");
    expectTextStartsAt(capture, 16, 12, 20, 20);   // STAGE 1
    expectTextStartsAt(capture, 190, 100, 20, 20); // LEVEL and its stars
    expectGlyphAt(capture, 190 + 6 * 20, 100, 20, 20);
    EXPECT_FALSE(isWhite(capture.at(190 + 5 * 20 + 10, 110))); // the blank between
    expectGlyphAt(capture, 20, 255, 20, 20);                   // the arrow symbols
    expectWhiteRowsDrawn(capture);

    // The song title picture: 40 x 16 pixels centred at (320, 80).
    const Rgb title = capture.at(320, 80);
    EXPECT_GE(title.r, 250);
    EXPECT_LE(title.g, 5);
    EXPECT_LE(capture.at(302, 80).g, 5);
    EXPECT_GT(capture.at(297, 80).g, 60);
    EXPECT_LE(capture.at(320, 74).g, 5);
    EXPECT_GT(capture.at(320, 70).g, 60);

    // The hovered previous-song arrow is orange, the next-song arrow light grey.
    const Rgb previous = capture.at(46, 96);
    const Rgb next = capture.at(594, 96);
    EXPECT_GT(previous.r, previous.b + 60);
    EXPECT_LT(std::abs(next.r - next.b), 10);
    // The wave icon shows cell 2 (blue), the unison icon cell 5 (magenta), both tinted 0.8.
    const Rgb wave = capture.at(560, 315);
    EXPECT_GT(wave.b, 170);
    EXPECT_LT(wave.r, 60);
    const Rgb unison = capture.at(608, 315);
    EXPECT_GT(unison.r, 170);
    EXPECT_GT(unison.b, 170);
    EXPECT_LT(unison.g, 60);

    // The gauge at 20: the bar from x 192 to 256 in grey 0.65, the frame light after it.
    EXPECT_NEAR(grey(capture.at(220, 456)), 166, 3);
    EXPECT_GT(grey(capture.at(300, 456)), 220);
    // Outlines of the bar at view x -0.4 and 0.6 (a line on a pixel edge takes either side).
    EXPECT_LT(std::min(grey(capture.at(191, 456)), grey(capture.at(192, 456))), 90);
    EXPECT_LT(std::min(grey(capture.at(511, 456)), grey(capture.at(512, 456))), 90);
    EXPECT_GT(grey(capture.at(188, 456)), 200);
    EXPECT_GT(grey(capture.at(516, 456)), 200);
}

TEST_F(RenderPixels, PlayLeadIn)
{
    setUpPlay();
    play.playStartTime = Now - 500;
    play.phaseStartTime = 0;
    play.keyHeldFrames = -1;
    window.pointerX = 320.0;
    setUpSelect();
    menu.state = Play;
    const Capture capture = render("play_lead_in");
    expectTextStartsAt(capture, 270, 230, 20, 20); // READY
    expectGlyphAt(capture, 16, 12, 20, 20);        // STAGE 1
    expectWhiteRowsDrawn(capture);
    // The header band rises: at 500 ms its centre is at 0.6375, 36 pixels from the top.
    EXPECT_GT(grey(capture.at(100, 66)), grey(capture.at(100, 72)) + 40);
    // The pointer band with the held key's wider blue glow around x 320.
    const Rgb band = capture.at(320, 200);
    const Rgb beside = capture.at(340, 200);
    EXPECT_GT(grey(band), grey(beside) + 30);
    EXPECT_GT(capture.at(326, 200).b, beside.b + 5);
}

TEST_F(RenderPixels, PlayWithNotes)
{
    setUpPlay();
    play.songTimeMs = 10000;
    chart.measureTimes = {8000, 10000, 12000, 14000};
    chart.measureCount = 4;
    chart.measureIndex = 1;
    window.pointerX = 200.0;
    ChartNote judged = note(9000, -5, 0, 0);
    judged.grade = Great;
    judged.gradeTime = Now - 50;
    judged.screenX = 0.5; // taken notes keep the column they were taken in
    ChartNote early = note(10300, 2, 0, 0);
    early.screenX = -0.5;
    ChartNote ghost = note(14100, 3);
    ghost.ghost = 1;
    setChartNotes(chart, {judged, early, note(11000, 4, 1), note(12500, 9), note(13000, -12), note(13000, 12),
                          note(14000, 0, 1), ghost});
    chart.notes.back().state = NoteOpen; // a spare record that would pass the connector test
    setCursor(chart, 2);
    play.lastJudgement = Great;
    play.lastJudgementTime = Now - 50;
    play.combo = 5;
    play.displayedScore = 1234.0;
    const Capture capture = render("play_notes");

    // Heads: pitch -12 at x 20 and +12 at x 620, 3000 ms ahead at y 87.5.
    for (int x : {20, 620}) {
        EXPECT_NEAR(grey(capture.at(x, 88)), 242, 3) << x;
        EXPECT_NEAR(grey(capture.at(x - 10, 88)), 242, 3) << x;
        EXPECT_NEAR(grey(capture.at(x + 10, 88)), 242, 3) << x;
        EXPECT_LT(grey(capture.at(x, 94)), 200) << x;
        EXPECT_LT(grey(capture.at(x, 81)), 200) << x;
    }
    EXPECT_LT(grey(capture.at(5, 88)), 200);
    EXPECT_LT(grey(capture.at(35, 88)), 200);
    // 4000 ms ahead at 500 ms per beat: the head's lower half shows at the top edge, under the
    // band, with its dark outline 2.25 pixels down.
    EXPECT_GT(grey(capture.at(320, 1)), grey(capture.at(320, 6)) + 15);
    EXPECT_GT(grey(capture.at(320, 1)), grey(capture.at(345, 1)) + 15);
    EXPECT_LT(grey(capture.at(320, 2)), grey(capture.at(320, 6)) - 8);
    // The taken note drawn dark at the column it kept, 300 ms ahead.
    EXPECT_NEAR(grey(capture.at(160, 324)), 89, 3);
    EXPECT_LT(grey(capture.at(370, 324)), 150);

    // The slide from pitch 4 at 1000 ms ahead to pitch 9 at 2500 ms: the band is lighter than
    // the background beside it and its 3-pixel centre line darker than the band.
    const int midX = 482, midY = 197;
    EXPECT_GT(grey(capture.at(midX + 8, midY)), grey(capture.at(midX + 24, midY)) + 20);
    EXPECT_LT(grey(capture.at(midX, midY)), grey(capture.at(midX + 8, midY)) - 20);
    // The last linked note has nothing to connect to: nothing between it and the middle.
    EXPECT_LT(std::abs(grey(capture.at(320, 120)) - grey(capture.at(340, 120))), 12);

    // The keyboard below the judgement line; the line itself in red.
    EXPECT_NEAR(grey(capture.at(320, 420)), 242, 3);
    EXPECT_NEAR(grey(capture.at(345, 420)), 204, 3);
    const Rgb line = capture.at(100, 350);
    EXPECT_GT(line.r, line.g + 60);
    // The pointer band at x 200, 12 pixels wide, over the whole height.
    EXPECT_GT(grey(capture.at(200, 100)), grey(capture.at(215, 100)) + 30);
    EXPECT_LT(std::abs(grey(capture.at(207, 100)) - grey(capture.at(215, 100))), 8);
    // The hit effect: a blue disc on the judgement line at the judged note's x 480.
    const Rgb disc = capture.at(480, 330);
    const Rgb outside = capture.at(540, 330);
    EXPECT_GT(disc.b - disc.r, outside.b - outside.r + 30);

    // The pop-up over the previous note (x -0.5): GREAT in gold 8 pixels up, then the combo.
    const Rgb word = capture.at(142 + 2, 162 + 2);
    EXPECT_GE(word.r, 250);
    EXPECT_NEAR(word.g, 230, 3);
    EXPECT_NEAR(word.b, 128, 3);
    expectGlyphAt(capture, 192 - 70, 195, 20, 20);
    expectGlyphAt(capture, 25 + 2 * 20, 446, 20, 20); // score "  1230"
    expectWhiteRowsDrawn(capture);

    // Everything the frame reads is placed: the cursor's notes; the taken ones keep their x.
    EXPECT_DOUBLE_EQ(chart.notes[0].screenX, 0.5);
    EXPECT_DOUBLE_EQ(chart.notes[1].screenX, -0.5);
    EXPECT_NEAR((chart.notes[2].screenX + 1.0) * 320, 420, 1e-9);
    EXPECT_NEAR((chart.notes[6].screenX + 1.0) * 320, 320, 1e-9);
    EXPECT_NEAR(chart.notes[6].screenY, 0.75, 1e-6);
}

TEST_F(RenderPixels, LongSlideCrossingTheWholeBand)
{
    setUpPlay();
    play.songTimeMs = 10000;
    ChartNote start = note(7000, 0, 1, 0);
    start.grade = Great;
    start.screenX = 0.0;
    setChartNotes(chart, {note(1000, -3), start, note(16000, 0), note(30000, 5)});
    setCursor(chart, 2);
    play.linkActive = 1;
    const Capture capture = render("play_long_slide");
    // Both ends lie outside the band; the slide still runs through the middle.
    EXPECT_GT(grey(capture.at(328, 200)), grey(capture.at(360, 200)) + 20);
    EXPECT_LT(grey(capture.at(320, 200)), grey(capture.at(328, 200)) - 20);
    // Its current end's position is written for AUTOPLAY.
    EXPECT_NEAR(chart.notes[2].screenY, (6000 * 1.4583333 / 4000 - 0.45833333) * 0.75, 1e-9);
    // The link disc sits on the judgement line at the slide's x and tints it blue.
    const Rgb disc = capture.at(320, 345);
    const Rgb slide = capture.at(320, 300);
    EXPECT_GT(disc.b - disc.r, slide.b - slide.r + 15);
}

TEST_F(RenderPixels, SongEndAndFullCombo)
{
    setUpPlay();
    music.streamState = Finished;
    play.resultTime = Now - 1500;
    play.fullComboTime = Now - 300;
    play.gauge = 90.0;
    chart.clearNorm = 0.8;
    credit.clearBonus = 1230;
    play.judgementCounts[2] = 120;
    const Capture capture = render("song_end");
    expectTextStartsAt(capture, 245, 140, 30, 30); // CLEAR
    expectGlyphAt(capture, 310, 170, 20, 20);      // BONUS
    expectGlyphAt(capture, 220, 100, 20, 20);      // FULL COMBO
    expectWhiteRowsDrawn(capture);
    // The full-combo glow stands blue on the judgement line; the gauge past the clear line red.
    const Rgb glow = capture.at(100, 340);
    EXPECT_GT(glow.b, glow.r + 40);
    const Rgb cleared = capture.at(464, 456);
    EXPECT_GT(cleared.r, cleared.b + 80);
}

TEST_F(RenderPixels, Result)
{
    menu.state = Result;
    play.resultTime = Now - 5000;
    play.displayedScore = 123450.0;
    credit.newRankIndex = 2;
    const Capture capture = render("result");
    expectTextStartsAt(capture, 80, 27, 40, 40);   // TOTAL RESULT
    expectTextStartsAt(capture, 140, 160, 30, 30); // SCORE 123450
    expectGlyphAt(capture, 310, 185, 20, 20);      // 3RD RANK IN
    expectGlyphAt(capture, 80, 408, 20, 20);
    expectWhiteRowsDrawn(capture);

    play.resultTime = Now - 500;
    const Capture early = render("result_first_second");
    expectGlyphAt(early, 80, 27, 40, 40);
    EXPECT_FALSE(isWhite(early.at(142, 162)));
    EXPECT_FALSE(isWhite(early.at(82, 410)));
}

TEST_F(RenderPixels, NoTempoDrawsWithoutDividingByZero)
{
    setUpPlay();
    chart.msPerBeat = 0;
    play.songTimeMs = 5000;
    setChartNotes(chart, {note(4000, 1, 1), note(5000, 0, 1), note(6000, 2)});
    setCursor(chart, 1);
    play.linkActive = 1;
    chart.measureTimes = {0, 4000};
    chart.measureCount = 2;
    chart.measureIndex = 1;
    const Capture capture = render("play_no_tempo");
    EXPECT_TRUE(std::isfinite(chart.notes[1].screenY));
    EXPECT_NEAR(chart.notes[1].screenY, -0.45833333 * 0.75, 1e-9);
    const Rgb line = capture.at(100, 350);
    EXPECT_GT(line.r, line.g + 60);
}

// Escape right after a judgement resets the play state (no last judgement any more) and shows
// the select screen; the disc of the note just judged still runs its 200 ms.
TEST_F(RenderPixels, HitEffectOutlivesAPlayReset)
{
    ChartNote judged = note(9000, 6, 0, 0);
    judged.grade = Great;
    judged.gradeTime = Now - 50;
    judged.screenX = 0.5;
    setChartNotes(chart, {judged, note(9500, 0)});
    setCursor(chart, 1);
    play.lastJudgementTime = 0;
    menu.state = Select;
    const Capture capture = render("hit_effect_after_reset");
    const Rgb disc = capture.at(480, 330);
    const Rgb outside = capture.at(400, 330);
    EXPECT_GT(disc.b - disc.r, outside.b - outside.r + 30);

    chart.notes[0].gradeTime = Now - 200; // over exactly 200 ms after the grade
    const Capture over = draw();
    EXPECT_EQ(over.at(480, 330).b - over.at(480, 330).r, over.at(400, 330).b - over.at(400, 330).r);
}

// Lines for the measures from one before the current to two after it: measure times 12000 (not
// drawn), 9000 (under the keyboard), 10000 (on the judgement line), 11000, 12500, 13000 (not drawn)
// at the clock 10000 and 500 ms per beat.
TEST_F(RenderPixels, MeasureLinesAroundTheCurrentMeasure)
{
    setUpPlay();
    play.songTimeMs = 10000;
    chart.measureTimes = {12000, 9000, 10000, 11000, 12500, 13000};
    chart.measureCount = 6;
    chart.measureIndex = 2;
    const Capture capture = render("play_measure_lines");
    // The brightest of the rows around a line's height against the rows just clear of it.
    const auto lift = [&](int x, int py) {
        int brightest = 0;
        for (int row = py - 3; row <= py + 3; row++)
            brightest = std::max(brightest, grey(capture.at(x, row)));
        return brightest - std::max(grey(capture.at(x, py - 7)), grey(capture.at(x, py + 7)));
    };
    for (int x : {400, 450, 600}) {
        EXPECT_GT(lift(x, 262), 8) << x; // 1000 ms ahead
        EXPECT_GT(lift(x, 131), 8) << x; // 2500 ms ahead
        EXPECT_LT(lift(x, 175), 3) << x; // 2000 ms ahead: the measure before the previous one
        EXPECT_LT(lift(x, 88), 3) << x;  // 3000 ms ahead: three measures on
    }
}

TEST_F(RenderPixels, JudgementLineDimsThroughTheBeat)
{
    setUpPlay();
    chart.measureIndex = 1;
    const auto redOfLine = [&](double beatPhase) {
        play.beatPhase = beatPhase;
        const Rgb line = draw().at(600, 350);
        return line.r - line.g;
    };
    const int onBeat = redOfLine(0.0);
    const int endOfBeat = redOfLine(1.0);
    EXPECT_GT(onBeat, endOfBeat + 30);
    // Before the first measure the line stands at its full strength.
    chart.measureIndex = 0;
    EXPECT_NEAR(redOfLine(1.0), onBeat, 2);
}

// Column -1 gets its grey once, every other stripe twice: three brightness steps across the left
// edge, from column -1 (x 0 ... 7) over column 0 (8 ... 32) to column 5 (no stripe, 133 ... 157).
TEST_F(RenderPixels, ColumnMinusOneDimmerThanTheOtherStripes)
{
    setUpPlay();
    window.pointerX = 320.0;
    const Capture capture = render("play_stripes");
    int columnMinusOne = 0, columnZero = 0;
    for (int py = 60; py < 80; py++) {
        const int plain = grey(capture.at(145, py));
        columnMinusOne += grey(capture.at(3, py)) - plain;
        columnZero += grey(capture.at(20, py)) - plain;
    }
    EXPECT_NEAR(columnMinusOne / 20.0, 5.0, 1.5);
    EXPECT_NEAR(columnZero / 20.0, 10.0, 1.5);
}

// The blue sheet's lower edge stays on the judgement line (y 350) while its top comes down: at
// 100 ms it reaches y 94, at 1500 ms y 172; its blue fades from the line to the top.
TEST_F(RenderPixels, FullComboGlowAtTwoTimes)
{
    setUpPlay();
    const Capture plain = draw();
    const auto blueAdded = [&](const Capture &capture, int py) { return capture.at(500, py).b - plain.at(500, py).b; };

    play.fullComboTime = Now - 100;
    const Capture early = render("play_full_combo_100ms");
    EXPECT_NEAR(blueAdded(early, 300), 33, 4);
    EXPECT_NEAR(blueAdded(early, 150), 9, 3);
    EXPECT_LE(blueAdded(early, 90), 1);
    EXPECT_LE(blueAdded(early, 356), 1);

    play.fullComboTime = Now - 1500;
    const Capture late = render("play_full_combo_1500ms");
    EXPECT_NEAR(blueAdded(late, 300), 37, 4);
    EXPECT_NEAR(blueAdded(late, 200), 8, 3);
    EXPECT_LE(blueAdded(late, 150), 1);
    EXPECT_LE(blueAdded(late, 356), 1);
}

// Control 1 points left (tip at x 32, flat side at 56), control 2 right (flat side at 584, tip at
// 608): near the flat side the hovered triangle is tall, near the tip short.
TEST_F(RenderPixels, SelectArrowsPointOutward)
{
    setUpSelect();
    const auto orange = [](const Rgb &p) { return p.r > p.b + 60; };
    window.hoverControl = ControlPreviousSong;
    const Capture previous = render("select_previous_hovered");
    EXPECT_TRUE(orange(previous.at(52, 88)));
    EXPECT_FALSE(orange(previous.at(42, 86)));
    window.hoverControl = ControlNextSong;
    const Capture next = draw();
    EXPECT_TRUE(orange(next.at(587, 88)));
    EXPECT_FALSE(orange(next.at(597, 86)));
}

// Three straight slides, one for each column of the colour table: A (x 70) ends on a cancelled
// note though it was graded, B (x 470) leads to the judgement cursor, C (x 570) lies ahead.
TEST_F(RenderPixels, ConnectorColourByColumn)
{
    setUpPlay();
    play.songTimeMs = 10000;
    ChartNote a0 = note(10300, -10, 1, 0);
    a0.grade = Great;
    a0.screenX = 70.0 / 320 - 1;
    ChartNote b0 = note(11400, 6, 1, 0);
    b0.screenX = 470.0 / 320 - 1;
    setChartNotes(chart, {a0, note(11300, -10, 0, 2), b0, note(12400, 6), note(12500, 10, 1), note(13500, 10)});
    setCursor(chart, 3);
    const Capture capture = render("play_connector_colours");
    const auto fanLift = [&](int x, int py) { return grey(capture.at(x + 6, py)) - grey(capture.at(x + 18, py)); };
    const Rgb now = capture.at(476, 184);
    EXPECT_GT(now.b, now.r + 20);
    for (int x : {70, 570}) {
        const Rgb p = capture.at(x + 6, x == 70 ? 280 : 90);
        EXPECT_LT(std::abs(p.b - p.r), 5) << x;
    }
    EXPECT_GT(fanLift(570, 90), fanLift(70, 280) + 15);
    EXPECT_GT(fanLift(70, 280), 4);
}

// Frames that have nothing to draw in some layer still draw the rest.
TEST_F(RenderPixels, SkippedParts)
{
    // A title picture of no size: no picture over the header band.
    setUpSelect();
    catalogue.titleTextures[0].texWidth = 0;
    Capture capture = draw();
    EXPECT_GT(capture.at(320, 80).g, 60);

    // Play with a slide held and a judgement just made, but no current note or no note before it.
    setUpPlay();
    setChartNotes(chart, {note(9000, 0, 1), note(11000, 4)});
    chart.noteIndex = 1;
    chart.currentNote = nullptr;
    play.linkActive = 1;
    play.lastJudgementTime = Now;
    capture = draw();
    EXPECT_GT(capture.at(600, 350).r, capture.at(600, 350).g + 60);
    chart.currentNote = &chart.notes[1];
    chart.notes[1].prev = nullptr;
    capture = draw();
    EXPECT_GT(capture.at(600, 350).r, capture.at(600, 350).g + 60);

    // A window one pixel wide (or none) has nothing to lay out: the frame is left cleared.
    for (int width : {1, 0}) {
        window.clientWidth = width;
        capture = draw();
        EXPECT_TRUE(isWhite(capture.at(0, 240))) << width;
    }
}

// The same screens after the window became 640 x 360.
TEST_F(RenderPixels, AfterResizeTo16By9)
{
    useClientSize(640, 360);

    setUpTitle(500);
    Capture capture = render("title");
    expectTextStartsAt(capture, 160, 70, 40, 40); // LUMATIDE
    expectTextStartsAt(capture, 80, 306, 20, 20); // PRESS SPACE KEY TO START
    expectWhiteRowsDrawn(capture);

    capture = render("title_ranking", true);
    expectWhiteRowsDrawn(capture, true);

    setUpSelect();
    capture = render("select");
    expectWhiteRowsDrawn(capture);
    const Rgb title = capture.at(320, pixelY(window.aspect - 0.25));
    EXPECT_GE(title.r, 250);
    EXPECT_LE(title.g, 5);

    resetAppContext();
    useClientSize(640, 360);
    gfx.fontTexture = textures().blockFont;
    gfx.waveTexture = textures().iconStrip;
    setUpPlay();
    play.songTimeMs = 10000;
    setChartNotes(chart, {note(12000, -12), note(12000, 12), note(14000, 0)});
    capture = render("play_notes");
    expectWhiteRowsDrawn(capture);
    // 2000 ms ahead: halfway from the line (y -0.2578) to the top edge (0.5625).
    const double y = (2000 * 1.4583333 / 4000 - 0.45833333) * 0.5625;
    for (int x : {20, 620})
        EXPECT_NEAR(grey(capture.at(x, pixelY(y))), 242, 3) << x;
    EXPECT_GT(grey(capture.at(320, 0)), grey(capture.at(320, 6)) + 15);
    const Rgb line = capture.at(100, pixelY(-0.45833333 * 0.5625));
    EXPECT_GT(line.r, line.g + 60);

    music.streamState = Finished;
    play.resultTime = Now - 1500;
    capture = render("song_end");
    expectWhiteRowsDrawn(capture);

    menu.state = Result;
    play.resultTime = Now - 5000;
    credit.newRankIndex = 0;
    capture = render("result");
    expectWhiteRowsDrawn(capture);
}

} // namespace
