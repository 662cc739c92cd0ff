#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "chart_setup.h"
#include "gfx/hit_effect_notes.h"
#include "gfx/note_placement.h"
#include "rules/note_column.h"

namespace {

std::vector<int> notesWithHitEffect(Chart &chart, uint32_t now)
{
    std::vector<int> seen;
    forEachNoteWithHitEffect(chart, now, [&](ChartNote &note) { seen.push_back(noteIndexOf(chart, &note)); });
    return seen;
}

TEST(HitEffectNotes, TheLatestGradedNotesOnly)
{
    Chart chart;
    setChartNotes(chart, notesAt({1000, 1100, 1200, 1300, 1400, 1500}, {0, 0, 1, 0, 0, 0}));
    const uint32_t now = 50000;
    chart.notes[0].gradeTime = now - 900; // long over
    chart.notes[1].gradeTime = now - 150;
    chart.notes[3].gradeTime = 0; // missed: no effect, and the walk goes on past it
    chart.notes[4].gradeTime = now - 10;
    setCursor(chart, 5);
    EXPECT_EQ(notesWithHitEffect(chart, now), (std::vector<int>{4, 1}));

    // An effect ends exactly 200 ms after its grade.
    chart.notes[4].gradeTime = now - 200;
    chart.notes[1].gradeTime = now - 300;
    EXPECT_TRUE(notesWithHitEffect(chart, now).empty());

    chart.notes[4].gradeTime = now - 199;
    setCursor(chart, 6); // every note passed: the cursor rests on the spare record
    EXPECT_EQ(notesWithHitEffect(chart, now), (std::vector<int>{4}));

    // Grades ahead of the cursor belong to no effect yet; nothing before the first note.
    setCursor(chart, 0);
    EXPECT_TRUE(notesWithHitEffect(chart, now).empty());
}

// A window made narrower between two frames: open notes move to their new columns, a note taken
// in between keeps the column it was taken in; both follow the new height.
TEST(NotePlacement, ResizeBetweenFrames)
{
    Chart chart;
    std::vector<ChartNote> notes = notesAt({10000, 10000});
    notes[0].pitch = notes[1].pitch = 6;
    setChartNotes(chart, notes);
    const auto placeAt = [&](int width, int height) {
        const FieldMetrics m = fieldMetrics(width, height, 20, static_cast<double>(height) / width);
        const ScrollRule rule{9000, 500, 1.0, m.aspect};
        placeNotesReadThisFrame(chart, visibleNoteSpan(chart, rule, m), rule, m, 0);
        return rule;
    };
    placeAt(640, 480);
    EXPECT_DOUBLE_EQ(chart.notes[0].screenX, 470.0 / 320 - 1);
    EXPECT_DOUBLE_EQ(chart.notes[1].screenX, 470.0 / 320 - 1);

    chart.notes[0].state = NoteTaken;
    const ScrollRule rule = placeAt(480, 480);
    EXPECT_DOUBLE_EQ(chart.notes[0].screenX, 470.0 / 320 - 1);
    EXPECT_DOUBLE_EQ(chart.notes[1].screenX, 350.0 / 240 - 1);
    EXPECT_DOUBLE_EQ(chart.notes[0].screenY, scrollY(rule, 10000));
    EXPECT_DOUBLE_EQ(chart.notes[1].screenY, scrollY(rule, 10000));
    EXPECT_NEAR(chart.notes[1].screenY, (1000 * 1.4583333 / 4000 - JudgeLineDepth) * 1.0, 1e-12);
}

// Notes one second apart with the clock on note 20: notes 19 to 24 show. Note 18's slide crosses
// the band to note 27 over ghosts; the cursor and the judgement just made lie far below.
TEST(NotePlacement, PlacesEveryNoteTheFrameReadsAndNoOther)
{
    std::vector<uint32_t> times(40);
    std::vector<int> ghosts(40);
    for (int i = 0; i < 40; i++) {
        times[i] = 1000 * i;
        ghosts[i] = i == 2 || (i >= 19 && i <= 26);
    }
    std::vector<ChartNote> notes = notesAt(times, ghosts);
    notes[18].linked = 1;
    const uint32_t now = 90000;
    notes[0].gradeTime = now - 300;
    notes[1].gradeTime = now - 50;
    for (ChartNote &note : notes) {
        note.pitch = 3;
        note.screenX = note.screenY = NAN;
    }
    Chart chart;
    setChartNotes(chart, notes);
    setCursor(chart, 3);

    const FieldMetrics m = fieldMetrics(640, 480, 20, 0.75);
    const ScrollRule rule{20000, 500, 1.0, 0.75};
    const NoteSpan span = visibleNoteSpan(chart, rule, m);
    ASSERT_EQ(span.first, 19);
    ASSERT_EQ(span.last, 24);
    placeNotesReadThisFrame(chart, span, rule, m, now);

    const std::set<int> placed = {1, 2, 3, 18, 19, 20, 21, 22, 23, 24, 27};
    for (int i = 0; i < 40; i++) {
        const ChartNote &note = chart.notes[i];
        if (placed.count(i) != 0) {
            EXPECT_DOUBLE_EQ(note.screenY, scrollY(rule, note.timeMs)) << i;
            EXPECT_DOUBLE_EQ(note.screenX, noteColumnX(note, m.width, m.fieldMargin)) << i;
        } else {
            EXPECT_TRUE(std::isnan(note.screenY)) << i;
        }
    }
}

} // namespace
