#include "gfx/screen_texts.h"

#include <GL/gl.h>
#include <cstdio>
#include <cstdlib>

#include "gfx/draw_calls.h"
#include "gfx/frame_context.h"
#include "gfx/gfx_state.h"
#include "gfx/title_cache.h"
#include "library/best_scores.h"
#include "library/catalogue.h"
#include "library/chart.h"
#include "library/ranking.h"
#include "rules/credit_state.h"
#include "rules/judgement.h"
#include "rules/menu_state.h"
#include "rules/play_state.h"
#include "rules/song_scoring.h"
#include "rules/stream_state.h"
#include "rules/voice_mode_state.h"
#include "rules/window_state.h"

void placeOrdinal(int place, char *out, int size)
{
    static const char *const firstThree[3] = {"1ST", "2ND", "3RD"};
    if (place >= 0 && place < 3)
        snprintf(out, size, "%s", firstThree[place]);
    else
        snprintf(out, size, "%dTH", place + 1);
}

int glyphCount(const char *text, int length)
{
    int glyphs = 0;
    for (int i = 0; i < length; i++, glyphs++) {
        if (static_cast<unsigned char>(text[i]) == 0x81 && i + 1 < length)
            i++;
    }
    return glyphs;
}

// Whole seconds between now and a mark, whichever comes first: the blink clock of the title.
static long wholeSecondsSince(uint32_t nowMs, uint32_t markMs)
{
    return std::labs(static_cast<long>(static_cast<int32_t>(nowMs - markMs))) / 1000;
}

static int scoreShown() { return roundedScore(play.displayedScore); }

static bool songsPresent() { return menu.selectedSong < catalogue.songs.size(); }

static bool titlePicturePresent() { return menu.selectedSong < catalogue.titleTextures.size(); }

void layoutJudgementPopup(const FrameContext &frame, ScreenTextLayout &out)
{
    clearRows(out);
    const ChartNote *current = chart.currentNote;
    const uint32_t since = frame.nowMs - play.lastJudgementTime;
    if (chart.noteIndex < 1 || since >= 750 || current == nullptr || current->prev == nullptr)
        return;
    const int rise = since < 250 ? static_cast<int>(play.lastJudgementTime - frame.nowMs + 250) / 25 : 0;
    const double x = (current->prev->screenX * 0.8 + 1.0) * 0.5 * frame.metrics.width;

    static const float colours[3][4] = {{1.0f, 0.6f, 0.3f, 1.0f}, {0.6f, 0.8f, 1.0f, 1.0f}, {1.0f, 0.9f, 0.5f, 1.0f}};
    const Judgement judgement = (play.lastJudgement == Good || play.lastJudgement == Great)
                                    ? Judgement(play.lastJudgement)
                                    : Miss;
    TextRow &word = addRow(out, 20, 20, colours[judgement], "%s", judgementWord(judgement));
    word.x = static_cast<int>(x - 10 * word.length);
    word.y = 170 - rise;

    if (play.combo >= 2) {
        TextRow &combo = addRow(out, 20, 20, nullptr, "%hu COMBO", play.combo);
        combo.x = static_cast<int>(x - 10 * combo.length);
        combo.y = 195;
    }
}

static void layoutScrollLabel(const FieldMetrics &m, ScreenTextLayout &out)
{
    const ScreenControl &label = window.controls[ControlScrollSpeed - 1];
    const float grey = window.hoverControl == ControlScrollSpeed ? 0.9f : 0.3f;
    const float colour[4] = {grey, grey, grey, 0.8f};
    TextRow &row = addRow(out, 15, 10, colour, "SCROLL %2.1lf", menu.scrollSpeed);
    row.x = columnXAt(m, label.centreX, -5 * row.length);
    row.y = rowYAt(m, label.centreY, -10);
}

static void layoutStage(const FieldMetrics &m, ScreenTextLayout &out)
{
    TextRow &row = addRow(out, 20, 20, nullptr, "STAGE %d", credit.stage + 1);
    row.x = columnXAt(m, -0.95, 0);
    row.y = rowYAt(m, 0.95 * m.aspect, 0);
}

// Judgement totals with GREAT on top.
static void layoutJudgementTotals(const FieldMetrics &m, const int counts[3], int top, ScreenTextLayout &out)
{
    static const char *const formats[3] = {"MISS %4d", "GOOD %4d", "GREAT%4d"};
    for (int i = 0; i < 3; i++) {
        TextRow &row = addRow(out, 20, 20, nullptr, formats[i], counts[i]);
        row.x = centredX(m, row);
        row.y = m.height / 2 - 20 * i + top;
    }
}

static void layoutPrompt(const FieldMetrics &m, const char *text, ScreenTextLayout &out)
{
    TextRow &row = addRow(out, 20, 20, nullptr, "%s", text);
    row.x = centredX(m, row);
    row.y = rowYAt(m, -0.7 * m.aspect, 0);
}

// NEW BEST comes with the BONUS, blinks for two seconds, then stays.
static bool newBestLit(uint32_t sinceEndMs)
{
    return sinceEndMs > 1000 && (sinceEndMs >= 3000 || (sinceEndMs - 1000) / 250 % 2 == 0);
}

static void layoutNewBest(const FieldMetrics &m, ScreenTextLayout &out)
{
    TextRow &row = addRow(out, 20, 20, GoldText, "NEW BEST");
    row.x = centredX(m, row);
    row.y = m.height / 2 + 40;
}

static void layoutPlay(const FrameContext &frame, ScreenTextLayout &out)
{
    const FieldMetrics &m = frame.metrics;

    TextRow &score = addRow(out, 20, 20, nullptr, "%6d", scoreShown());
    score.x = 25;
    score.y = static_cast<int>(0.95 * m.height - 10);

    if (play.phaseStartTime == 0) {
        TextRow &ready = addRow(out, 20, 20, nullptr, "READY");
        ready.x = centredX(m, ready);
        ready.y = m.height / 2 - 10;
    }
    if (menu.autoplay == 1) {
        TextRow &autoplay = addRow(out, 20, 20, nullptr, "AUTOPLAY");
        autoplay.x = columnXAt(m, 0.7, -10 * autoplay.length);
        autoplay.y = rowYAt(m, -0.76 * m.aspect, -10);
    }
    if (musicStreamState() == Finished && play.resultTime != 0) {
        const uint32_t sinceEnd = frame.nowMs - play.resultTime;
        const int32_t signedSinceEnd = static_cast<int32_t>(sinceEnd);
        const int slide = signedSinceEnd < 200 ? 3 * (200 - signedSinceEnd) : 0;
        TextRow &verdict = addRow(out, 30, 30, nullptr, "%s",
                                  songCleared(play.gauge, chart.clearNorm) ? "CLEAR" : "FAILED");
        verdict.x = centredX(m, verdict) - slide;
        verdict.y = m.height / 2 - 100;
        if (credit.clearBonus != 0 && sinceEnd > 1000) {
            TextRow &bonus = addRow(out, 20, 20, nullptr, "BONUS %5d", credit.clearBonus);
            bonus.x = centredX(m, bonus) + 100;
            bonus.y = m.height / 2 - 70;
        }
        layoutJudgementTotals(m, play.judgementCounts, 10, out);
        if (bests.lastSongSetBest && newBestLit(sinceEnd))
            layoutNewBest(m, out);
        layoutPrompt(m, "PRESS SPACE KEY", out);
    }
    if (play.fullComboTime != 0) {
        TextRow &fullCombo = addRow(out, 20, 20, nullptr, "FULL COMBO");
        fullCombo.x = m.width / 2 - 100;
        fullCombo.y = 100;
    }
    if (titlePicturePresent()) {
        const uint32_t sinceStart = frame.nowMs - play.playStartTime;
        const double rest = 1.0 - sinceStart / 1000.0;
        out.showsTitlePicture = true;
        out.titlePictureY = m.aspect - 0.075 - (sinceStart < 1000 ? 0.175 * rest * rest : 0.0);
    }
}

static void layoutTitle(const FrameContext &frame, ScreenTextLayout &out)
{
    const FieldMetrics &m = frame.metrics;
    const long seconds = wholeSecondsSince(frame.nowMs, play.phaseStartTime);
    if (frame.rankingKeyDown) {
        for (int i = 0; i < 10; i++) {
            // A new entry blinks: gone in odd seconds.
            if (i == credit.newRankIndex && seconds % 2 == 1)
                continue;
            char place[16];
            placeOrdinal(i, place, sizeof place);
            TextRow &row = addRow(out, 20, 20, nullptr, "%s %6d", place, ranking[i]);
            row.x = centredX(m, row);
            row.y = rowYAt(m, (0.75 - 0.12 * i) * m.aspect, -10);
        }
    } else {
        TextRow &logo = addRow(out, 40, 40, nullptr, "LUMATIDE");
        logo.x = centredX(m, logo);
        logo.y = rowYAt(m, 0.5 * m.aspect, -20);
        TextRow &hint = addRow(out, 15, 15, nullptr, RIGHT_ARROW ":HI-SCORE RANKING");
        hint.x = m.width - 15 * hint.length - 20;
        hint.y = 315;
    }
    if (seconds % 2 == 0)
        layoutPrompt(m, "PRESS SPACE KEY TO START", out);
}

static void layoutResult(const FrameContext &frame, ScreenTextLayout &out)
{
    const FieldMetrics &m = frame.metrics;
    const uint32_t since = frame.nowMs - play.resultTime;
    TextRow &heading = addRow(out, 40, 40, nullptr, "TOTAL RESULT");
    heading.x = centredX(m, heading);
    heading.y = rowYAt(m, 0.8 * m.aspect, -20);
    if (since > 1000) {
        TextRow &score = addRow(out, 30, 30, nullptr, "SCORE %6d", scoreShown());
        score.x = centredX(m, score);
        score.y = m.height / 2 - 80;
        layoutJudgementTotals(m, credit.creditJudgementCounts, 20, out);
    }
    const int place = credit.newRankIndex;
    if (since > 2000 && place >= 0 && place < 10) {
        char ordinal[16];
        placeOrdinal(place, ordinal, sizeof ordinal);
        TextRow &rank = addRow(out, 20, 20, nullptr, "%s RANK IN", ordinal);
        rank.x = centredX(m, rank) + 100;
        rank.y = m.height / 2 - 55;
    }
    if (since > 4000)
        layoutPrompt(m, "PRESS SPACE KEY TO START", out);
}

// Voice mode chosen but no capture device: said in the warning colour under the key rows, level
// with the icons and their meter, so the player choosing a song sees why the mouse will play.
static void layoutNoMicrophone(ScreenTextLayout &out, int keyRowsBottom)
{
    if (voiceMode.input != InputVoice || voiceMode.captureOpen == 1)
        return;
    static const float warning[4] = {1.0f, 0.55f, 0.45f, 1.0f};
    TextRow &row = addRow(out, 15, 10, warning, "NO MICROPHONE - PLAYING WITH THE MOUSE");
    row.x = 20;
    row.y = keyRowsBottom + 8;
}

static void layoutSelect(const FrameContext &frame, ScreenTextLayout &out)
{
    const FieldMetrics &m = frame.metrics;
    // With no song there is nothing to play: no prompt that promises one.
    if (songsPresent())
        layoutPrompt(m, "PRESS SPACE KEY TO PLAY", out);
    static const char *const keyRows[3] = {LEFT_ARROW RIGHT_ARROW "    : SELECT", "SPACE : START",
                                           UP_ARROW "     : AUTOPLAY"};
    for (int i = 0; i < 3; i++) {
        TextRow &row = addRow(out, 20, 20, nullptr, "%s", keyRows[i]);
        row.x = 20;
        row.y = 255 + 20 * i;
    }
    layoutNoMicrophone(out, 255 + 20 * 3);
    if (!songsPresent()) {
        TextRow &none = addRow(out, 20, 20, nullptr, "NO SONGS - SEE README");
        none.x = centredX(m, none);
        none.y = rowYAt(m, m.aspect - 0.25, -10);
        return;
    }
    char stars[7 * 2 + 1] = {};
    for (int i = 0; i < 7; i++) {
        const char *star = i < catalogue.songs[menu.selectedSong].level ? FILLED_STAR : EMPTY_STAR;
        stars[2 * i] = star[0];
        stars[2 * i + 1] = star[1];
    }
    TextRow &level = addRow(out, 20, 20, nullptr, "LEVEL %s", stars);
    level.x = m.width / 2 - 10 * glyphCount(level.text, level.length);
    level.y = rowYAt(m, m.aspect - 0.315, 0);
    if (const BestScore *best = findBestScore(bests.byChart, catalogue.songs[menu.selectedSong].fileName)) {
        TextRow &row = addRow(out, 15, 15, nullptr, "BEST %d", best->score);
        row.x = centredX(m, row);
        // Clear below the header band (centred on aspect - 0.3, 0.1 each way), whose lower part
        // the stars already fill.
        row.y = rowYAt(m, m.aspect - 0.4, 6);
    }
    if (titlePicturePresent()) {
        out.showsTitlePicture = true;
        out.titlePictureY = m.aspect - 0.25;
    }
}

void layoutScreenTexts(const FrameContext &frame, ScreenTextLayout &out)
{
    clearRows(out);
    out.showsTitlePicture = false;
    const bool fontLoaded = gfx.fontTexture != 0;
    if (fontLoaded)
        layoutScrollLabel(frame.metrics, out);
    if (frame.state == Select || frame.state == Play)
        layoutStage(frame.metrics, out);
    switch (frame.state) {
    case Play:
        layoutPlay(frame, out);
        break;
    case Title:
        layoutTitle(frame, out);
        break;
    case Result:
        layoutResult(frame, out);
        break;
    case Select:
        if (fontLoaded)
            layoutSelect(frame, out);
        break;
    default:
        break;
    }
}

void drawJudgementPopup(const FrameContext &frame)
{
    ScreenTextLayout layout;
    layoutJudgementPopup(frame, layout);
    if (layout.rowCount == 0)
        return;
    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    drawTextRows(layout.rows, layout.rowCount);
    glDisable(GL_TEXTURE_2D);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

// Two thirds of the title's rendered size, cut out of its power-of-two texture.
static void drawTitlePicture(const FieldMetrics &m, double y)
{
    const TitleTexture &title = titleToDraw(catalogue, menu.selectedSong);
    if (title.texWidth <= 0 || title.texHeight <= 0)
        return;
    const float sx = static_cast<float>(static_cast<double>(title.extentWidth) / title.texWidth);
    const float ty = static_cast<float>(static_cast<double>(title.extentHeight) / title.texHeight);
    const float coords[8] = {0.0f, ty, sx, ty, sx, 0.0f, 0.0f, 0.0f};
    glTexCoordPointer(2, GL_FLOAT, 0, coords);
    glColor4d(1.0, 1.0, 1.0, 1.0);
    glPushMatrix();
    glBindTexture(GL_TEXTURE_2D, title.texture);
    glTranslated(0.0, y, 0.0);
    glScaled(title.extentWidth / (1.5 * m.width), title.extentHeight / (1.5 * m.width), 1.0);
    fillUnitSquare();
    glPopMatrix();
}

void drawScreenTexts(const FrameContext &frame)
{
    ScreenTextLayout layout;
    layoutScreenTexts(frame, layout);
    glColor4d(1.0, 1.0, 1.0, 1.0);
    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    drawTextRows(layout.rows, layout.rowCount);
    if (layout.showsTitlePicture)
        drawTitlePicture(frame.metrics, layout.titlePictureY);
}
