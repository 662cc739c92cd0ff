// The per-song best, the help page and the empty select screen in whole frames drawn into a real
// window: checked where the layout puts them, and saved as the screenshots docs/img/ shows.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/app_context.h"
#include "chart_setup.h"
#include "frame_capture.h"
#include "gfx/frame_context.h"
#include "gfx/help_page.h"
#include "gfx/render_frame.h"
#include "gfx/screen_texts.h"
#include "gfx/title_cache.h"

namespace {

constexpr uint32_t Now = 2000000;

int brightness(const Rgb &p) { return (p.r + p.g + p.b) / 3; }

class BestHelpPixels : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(openRenderWindow()) << "needs a display (run under xvfb-run)";
        resetAppContext();
        useClientSize(WindowWidth, WindowHeight);
    }

    void TearDown() override { resetAppContext(); }

    Capture render(const std::string &name) { return drawCheckedFrame(Now, name); }

    static FrameContext frame()
    {
        FrameContext f;
        f.nowMs = Now;
        f.state = menu.state;
        f.metrics = fieldMetrics(WindowWidth, WindowHeight, window.fieldMargin, window.aspect);
        return f;
    }

    static const TextRow *row(const ScreenTextLayout &layout, const std::string &text)
    {
        for (int i = 0; i < layout.rowCount; i++) {
            if (std::string(layout.rows[i].text, layout.rows[i].length) == text)
                return &layout.rows[i];
        }
        return nullptr;
    }

    static void addSong(const char *fileName, const char *title, uint16_t level)
    {
        SongEntry song;
        song.fileName = fileName;
        song.title = title;
        song.level = level;
        catalogue.songs.push_back(song);
        TitleTexture picture;
        picture.text = title;
        picture.fontSize = 18;
        catalogue.titleTextures.push_back(picture);
        catalogue.songCount = static_cast<uint16_t>(catalogue.songs.size());
        titleToDraw(catalogue, static_cast<uint16_t>(catalogue.songs.size() - 1));
    }

    // The glyph cell at (x, y) is filled in the colour: checked just inside its corners.
    static void expectGlyph(const Capture &capture, const TextRow &r, int minR, int minG, int minB)
    {
        for (const int dx : {1, r.advance - 2})
            for (const int dy : {1, r.glyphHeight - 2}) {
                const Rgb p = capture.at(r.x + dx, r.y + dy);
                EXPECT_GE(p.r, minR) << r.text << " at " << r.x + dx << "," << r.y + dy;
                EXPECT_GE(p.g, minG) << r.text;
                EXPECT_GE(p.b, minB) << r.text;
            }
    }
};

} // namespace

TEST_F(BestHelpPixels, SelectShowsTheBest)
{
    menu.state = Select;
    addSong("glass.txt", "Glass Harbor", 3);
    BestScore best;
    best.score = 98760;
    best.date = "2026-12-07";
    bests.byChart["glass.txt"] = best;
    const Capture capture = render("select_best");
    ScreenTextLayout layout;
    layoutScreenTexts(frame(), layout);
    const TextRow *shown = row(layout, "BEST 98760");
    ASSERT_NE(shown, nullptr);
    expectGlyph(capture, *shown, 250, 250, 250);
}

TEST_F(BestHelpPixels, StageResultFlashesNewBest)
{
    addSong("glass.txt", "Glass Harbor", 3);
    showPlayScreen(Now);
    music.streamState = Finished;
    play.resultTime = Now - 3500;
    play.gauge = 90.0;
    chart.clearNorm = 0.8;
    credit.clearBonus = 1230;
    play.score = 96540.0;
    play.displayedScore = 96540.0;
    play.judgementCounts[Great] = 100;
    play.judgementCounts[Good] = 12;
    play.judgementCounts[Miss] = 3;
    bests.lastSongSetBest = true;
    const Capture capture = render("stage_result_new_best");
    ScreenTextLayout layout;
    layoutScreenTexts(frame(), layout);
    const TextRow *newBest = row(layout, "NEW BEST");
    ASSERT_NE(newBest, nullptr);
    // Gold: full red, a little less green, far less blue.
    expectGlyph(capture, *newBest, 250, 220, 120);
    EXPECT_LT(capture.at(newBest->x + 1, newBest->y + 1).b, 140);
}

TEST_F(BestHelpPixels, HelpPageCoversTheTitle)
{
    menu.state = Title;
    play.phaseStartTime = Now;
    const Capture plain = render("title_without_help");
    help.shown = 1;
    const Capture capture = render("help");
    HelpPageLayout page;
    layoutHelpPage(frame().metrics, page);
    ASSERT_GT(page.rowCount, 0);
    expectGlyph(capture, page.rows[0], 250, 220, 120); // the heading in gold
    expectGlyph(capture, page.rows[2], 250, 250, 250);
    // The dark sheet lies over the whole field: a bright key in a corner turns dark.
    EXPECT_GT(brightness(plain.at(5, 470)), 200);
    EXPECT_LT(brightness(capture.at(5, 470)), 60);
    // Nothing of the title reads through between the page's rows: wherever the title is bright,
    // the page shows its own sheet colour.
    const Rgb sheet = capture.at(5, 470);
    const auto inRow = [&page](int x, int y) {
        for (int i = 0; i < page.rowCount; i++) {
            const TextRow &r = page.rows[i];
            if (x >= r.x - 2 && x < r.x + 56 * r.advance + 2 && y >= r.y - 2 && y < r.y + r.glyphHeight + 2)
                return true;
        }
        return false;
    };
    int brightUnderPage = 0, showingThrough = 0;
    for (int y = 0; y < WindowHeight; y++) {
        for (int x = 0; x < WindowWidth; x++) {
            if (inRow(x, y) || brightness(plain.at(x, y)) < 120)
                continue;
            brightUnderPage++;
            const Rgb p = capture.at(x, y);
            if (std::abs(p.r - sheet.r) > 3 || std::abs(p.g - sheet.g) > 3 || std::abs(p.b - sheet.b) > 3)
                showingThrough++;
        }
    }
    EXPECT_GT(brightUnderPage, 100) << "the title lies under the page";
    EXPECT_EQ(showingThrough, 0) << "of " << brightUnderPage << " bright pixels of the title";
}

TEST_F(BestHelpPixels, EmptyCatalogueSaysWhereToLook)
{
    menu.state = Select;
    const Capture capture = render("select_no_songs");
    ScreenTextLayout layout;
    layoutScreenTexts(frame(), layout);
    const TextRow *line = row(layout, "NO SONGS - SEE README");
    ASSERT_NE(line, nullptr);
    expectGlyph(capture, *line, 250, 250, 250);
    // No song to page to: where the arrows stand (tips at x 32 and 608, around y 96), the band
    // is as plain as just above them, in the same field column.
    const auto plainBand = [&capture](int x, int y) {
        return std::abs(brightness(capture.at(x, y)) - brightness(capture.at(x, 67))) <= 6;
    };
    int arrowPixels = 0;
    for (int y = 76; y < 116; y++) {
        for (int x = 24; x < 64; x++)
            arrowPixels += !plainBand(x, y) + !plainBand(WindowWidth - 1 - x, y);
    }
    EXPECT_EQ(arrowPixels, 0);
}
