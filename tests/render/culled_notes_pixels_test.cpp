// The notes layer as a frame draws it, culled to the visible band, against a reference that
// places and draws every note of the chart: the two pictures match pixel for pixel, and every
// note the rest of the frame reads is placed.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "chart_setup.h"
#include "frame_capture.h"
#include "gfx/draw_calls.h"
#include "gfx/field_renderer.h"
#include "gfx/note_placement.h"
#include "gfx/note_renderer.h"
#include "gfx/slide_connectors.h"
#include "rules/note_column.h"

namespace {

constexpr uint32_t Now = 3000000;

// The 2D view over the background gradient, as the frame has it when it comes to the notes.
void beginNotesLayer(const FieldMetrics &m)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(0, (m.height - m.width) / 2, m.width, m.width);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslated(0.0, 0.0, 1.0);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnable(GL_BLEND);
    useNormalBlend();
    drawBackground();
}

// Every note placed, then every connector and every head drawn from the highest index down.
void drawEveryNote(const FrameContext &frame)
{
    const ScrollRule rule = frameScrollRule(frame.metrics);
    for (int i = chart.noteCount - 1; i >= 0; i--)
        placeNote(chart.notes[i], rule, frame.metrics);
    for (int i = chart.noteCount - 1; i >= 0; i--) {
        if (const ChartNote *end = connectorEnd(chart, i))
            drawConnector(chart.notes[i], *end, connectorLook(chart, i, *end), frame.metrics);
    }
    for (int i = chart.noteCount - 1; i >= 0; i--) {
        if (chart.notes[i].ghost == 0)
            drawNoteHead(chart.notes[i], frame.metrics);
    }
}

struct ChartRecipe {
    const char *what;
    uint32_t startMs;
    int count;
    uint32_t longestStepMs;
};

// A played chart: slides, ghosts, notes taken or cancelled behind the cursor, the latest grades
// still throwing their hit effects, and the clock just before the cursor's note.
void playRandomChart(std::mt19937 &random, const ChartRecipe &recipe)
{
    std::vector<ChartNote> notes(recipe.count);
    uint32_t t = recipe.startMs;
    for (ChartNote &note : notes) {
        t += random() % 5 == 0 ? 0 : static_cast<uint32_t>(random() % recipe.longestStepMs);
        note.timeMs = t;
        note.pitch = static_cast<int>(random() % 25) - 12 + (random() % 4 == 0 ? 0.5 : 0.0);
        note.octaveShift = random() % 6 == 0 ? 1 : 0;
        note.linked = random() % 3 == 0;
        note.ghost = random() % 10 == 0;
    }
    setChartNotes(chart, notes);
    const int cursor = static_cast<int>(random() % (recipe.count + 1));
    setCursor(chart, cursor);
    play.songTimeMs = cursor < recipe.count ? static_cast<int>(chart.notes[cursor].timeMs - random() % 300)
                                            : static_cast<int>(t + 500);
    const FieldMetrics earlier = fieldMetrics(600, 480, 20, 0.8);
    for (int i = 0; i < recipe.count; i++) {
        ChartNote &note = chart.notes[i];
        note.screenX = note.screenY = NAN;
        if (i < cursor) {
            note.state = random() % 4 == 0 ? NoteClosed : NoteTaken;
            note.screenX = noteColumnX(note, earlier.width, earlier.fieldMargin); // taken in a window of another size
            note.grade = static_cast<uint16_t>(random() % 3);
            if (note.grade > 0)
                note.gradeTime = Now - 45 * static_cast<uint32_t>(cursor - i);
        } else {
            note.state = random() % 8 == 0 ? NoteClosed : NoteOpen;
        }
    }
    chart.msPerBeat = 300 + random() % 400;
    menu.scrollSpeed = 1.0 + 0.5 * (random() % 7);
}

// The first pixel of the client area that differs, counted from the bottom row; -1 for none.
// Rows above a lower client area belong to the window alone.
int firstDifference(const Capture &a, const Capture &b)
{
    const size_t clientBytes = static_cast<size_t>(a.clientHeight) * WindowWidth * 3;
    for (size_t i = 0; i < clientBytes; i++) {
        if (a.rgb[i] != b.rgb[i])
            return static_cast<int>(i / 3);
    }
    return -1;
}

// The notes the rest of the frame reads: the cursor's neighbours and the slide's start under the
// pop-up, the link and AUTOPLAY; every note whose hit effect still runs.
std::vector<int> notesReadOutsideTheLayer(const Chart &chart)
{
    std::vector<int> read = {chart.noteIndex - 1, chart.noteIndex,
                             static_cast<int>(chart.currentNote->prev - chart.notes.data())};
    for (int i = 0; i < chart.noteIndex && i < chart.noteCount; i++) {
        const ChartNote &note = chart.notes[i];
        if (note.gradeTime != 0 && Now - note.gradeTime < 200)
            read.push_back(i);
    }
    return read;
}

class CulledNotesPixels : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(openRenderWindow()) << "needs a display (run under xvfb-run)";
        resetAppContext();
        menu.state = Play;
    }

    void TearDown() override { resetAppContext(); }

    void expectCulledFrameMatchesEveryNote(const FrameContext &frame, const std::string &what)
    {
        SCOPED_TRACE(what);
        beginNotesLayer(frame.metrics);
        drawNotes(frame);
        const Capture culled = captureFrame(frame.metrics.height);
        const std::vector<int> read = notesReadOutsideTheLayer(chart);
        std::vector<double> culledX, culledY;
        for (int i : read) {
            culledX.push_back(i >= 0 && i < chart.noteCount ? chart.notes[i].screenX : 0.0);
            culledY.push_back(i >= 0 && i < chart.noteCount ? chart.notes[i].screenY : 0.0);
        }

        beginNotesLayer(frame.metrics);
        drawEveryNote(frame);
        const Capture everyNote = captureFrame(frame.metrics.height);
        const int diff = firstDifference(culled, everyNote);
        EXPECT_EQ(diff, -1) << "first differing pixel x " << diff % WindowWidth << ", row from the bottom "
                            << diff / WindowWidth;
        if (diff >= 0)
            saveScreenshot(culled, frame.metrics.width, "culled_mismatch");
        for (size_t k = 0; k < read.size(); k++) {
            const int i = read[k];
            if (i < 0 || i >= chart.noteCount)
                continue;
            EXPECT_EQ(culledX[k], chart.notes[i].screenX) << "note " << i;
            EXPECT_EQ(culledY[k], chart.notes[i].screenY) << "note " << i;
        }
    }
};

TEST_F(CulledNotesPixels, RandomChartsMatchEveryNoteDrawn)
{
    const ChartRecipe recipes[] = {
        {"dense chart", 2000, 400, 500},
        {"negative offset, clock around zero", static_cast<uint32_t>(-6000), 60, 300},
        {"long slides across the band", 0, 80, 7000},
        {"24.8 days and more", 0, 12, 900000000},
    };
    std::mt19937 random(11);
    for (const ChartRecipe &recipe : recipes) {
        for (int round = 0; round < 3; round++) {
            const int height = round == 2 ? 360 : 480;
            window.clientHeight = height;
            FrameContext frame;
            frame.nowMs = Now;
            frame.state = Play;
            frame.metrics = fieldMetrics(640, height, 20, height / 640.0);
            playRandomChart(random, recipe);
            expectCulledFrameMatchesEveryNote(frame, std::string(recipe.what) + " round " + std::to_string(round));
        }
    }
}

} // namespace
