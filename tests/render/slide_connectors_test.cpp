#include <gtest/gtest.h>

#include "chart_setup.h"
#include "gfx/slide_connectors.h"

namespace {

TEST(SlideConnectors, BandJoinsTheFacingCornersOfTheHeads)
{
    const FieldMetrics m = fieldMetrics(640, 480, 20, 0.75);
    const float hs = static_cast<float>(m.headHalfWidth);
    const float nh = static_cast<float>(m.headHalfHeight);
    struct Case {
        double toX;
        float d;
    };
    // Rising to the right, to the left, and straight up (a plain rectangle).
    for (const Case &c : {Case{0.5, nh}, Case{-0.5, -nh}, Case{0.0, 0.0f}}) {
        ChartNote n, to;
        n.screenY = -0.2;
        to.screenX = c.toX;
        to.screenY = 0.4;
        float band[8];
        connectorBand(n, to, m, band);
        const float expected[8] = {
            -hs, -0.2f + c.d, static_cast<float>(c.toX) - hs, 0.4f + c.d, static_cast<float>(c.toX) + hs, 0.4f - c.d,
            hs,  -0.2f - c.d};
        for (int i = 0; i < 8; i++)
            EXPECT_NEAR(band[i], expected[i], 1e-6) << c.toX << " " << i;
    }
}

// Notes 0 ... 14 with note 12 linked to 14 over the ghost 13; the cursor on note 2.
struct SlideCase {
    const char *what;
    int from = 12;
    int linked = 1, ghost = 0, cursor = 2;
    uint16_t grade = 0, endState = 1;
    int expectedEnd = 14; // -1: no connector
};

TEST(SlideConnectors, WhichNotesDrawOne)
{
    const SlideCase cases[] = {
        {"open end", 12, 1, 0, 2, 0, 1, 14},
        {"end cancelled or reached", 12, 1, 0, 2, 0, 2, 14},
        {"end taken, slide graded", 12, 1, 0, 2, 1, 0, 14},
        {"end taken, slide not graded", 12, 1, 0, 2, 0, 0, -1},
        {"not linked", 12, 0, 0, 2, 0, 1, -1},
        {"a ghost", 12, 1, 1, 2, 0, 1, -1},
        {"ten behind the cursor", 12, 1, 0, 22, 0, 1, 14},
        {"eleven behind the cursor", 12, 1, 0, 23, 0, 1, -1},
        {"the last note", 14, 1, 0, 2, 0, 1, -1},
    };
    for (const SlideCase &c : cases) {
        std::vector<ChartNote> notes(15);
        notes[13].ghost = 1;
        notes[c.from].linked = c.linked;
        notes[c.from].ghost = c.ghost;
        notes[c.from].grade = c.grade;
        notes[14].state = static_cast<NoteState>(c.endState);
        Chart chart;
        setChartNotes(chart, notes);
        chart.noteIndex = c.cursor;
        const ChartNote *end = connectorEnd(chart, c.from);
        EXPECT_EQ(end == nullptr ? -1 : static_cast<int>(end - chart.notes.data()), c.expectedEnd) << c.what;
    }
    // A linked note whose next record is the spare after the last note.
    Chart chart;
    std::vector<ChartNote> notes = notesAt({0, 100, 200}, {0, 0, 1});
    notes[1].linked = 1;
    setChartNotes(chart, notes);
    EXPECT_EQ(connectorEnd(chart, 1), nullptr);
}

TEST(SlideConnectors, ColourColumnByEndCursorAndGrade)
{
    struct Case {
        const char *what;
        uint16_t endState, grade;
        int cursor;
        ConnectorLook look;
    };
    // The slide from note 3 to note 4; the first matching column wins.
    const Case cases[] = {
        {"end cancelled, cursor on the end, graded", 2, 2, 4, SlideEnded},
        {"end cancelled", 2, 0, 1, SlideEnded},
        {"cursor on the end", 1, 0, 4, SlideNow},
        {"graded", 0, 1, 6, SlideNow},
        {"cursor on the start", 1, 0, 3, SlideAhead},
        {"cursor past the end", 1, 0, 5, SlideAhead},
    };
    for (const Case &c : cases) {
        Chart chart;
        setChartNotes(chart, notesAt({0, 100, 200, 300, 400, 500, 600}));
        chart.notes[3].grade = c.grade;
        chart.notes[4].state = static_cast<NoteState>(c.endState);
        setCursor(chart, c.cursor);
        EXPECT_EQ(connectorLook(chart, 3, chart.notes[4]), c.look) << c.what;
    }
}

} // namespace
