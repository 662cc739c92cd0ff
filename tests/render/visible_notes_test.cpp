#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "chart_setup.h"
#include "gfx/band_reach.h"
#include "gfx/note_index.h"
#include "gfx/visible_note_span.h"
#include "library/chart_parser.h"

namespace {

bool headReachesBand(const Chart &chart, int i, const ScrollRule &rule, const FieldMetrics &m)
{
    const double y = scrollY(rule, chart.notes[i].timeMs);
    return y + m.headHalfHeight >= -m.aspect && y - m.headHalfHeight <= m.aspect;
}

// Against every note checked one by one: the span holds every note whose head touches the band,
// and the slide from below leaves from the last non-ghost note before the span.
void expectSpanHoldsShowingNotes(const Chart &chart, const ScrollRule &rule, const FieldMetrics &m)
{
    const NoteSpan span = visibleNoteSpan(chart, rule, m);
    for (int i = 0; i < chart.noteCount; i++) {
        if (headReachesBand(chart, i, rule, m)) {
            EXPECT_GE(i, span.first) << "note " << i << " at " << chart.notes[i].timeMs;
            EXPECT_LE(i, span.last) << "note " << i << " at " << chart.notes[i].timeMs;
        }
    }
    int below = -1;
    for (int i = 0; i < span.first && i < chart.noteCount; i++) {
        if (chart.notes[i].ghost == 0)
            below = i;
    }
    EXPECT_EQ(span.slideFromBelow, below);
}

TEST(VisibleNoteSpan, HoldsEveryNoteThatCanShow)
{
    std::mt19937 random(7);
    Chart chart;
    for (int round = 0; round < 200; round++) {
        const int count = 1 + static_cast<int>(random() % 400);
        std::vector<uint32_t> times(count);
        std::vector<int> ghosts(count);
        // Some charts start before the clock's zero (a negative offset): their first times wrap.
        const uint32_t start = static_cast<uint32_t>(static_cast<int>(random() % 6000) - 3000);
        uint32_t t = start;
        for (int i = 0; i < count; i++) {
            t += random() % 4 == 0 ? 0 : random() % 700;
            times[i] = t;
            ghosts[i] = random() % 8 == 0;
        }
        setChartNotes(chart, notesAt(times, ghosts));
        const int height = 480 - 120 * (round % 3);
        const FieldMetrics m = fieldMetrics(640, height, 20, height / 640.0);
        const int songTime = static_cast<int>(start) - 2000 + static_cast<int>(random() % (t - start + 4000));
        const ScrollRule rule{songTime, static_cast<uint32_t>(300 + random() % 400), 1.0 + 0.5 * (random() % 7),
                              m.aspect};
        SCOPED_TRACE("round " + std::to_string(round));
        expectSpanHoldsShowingNotes(chart, rule, m);
        // Only notes near the band: the span is what keeps a long chart's frame short.
        const NoteSpan span = visibleNoteSpan(chart, rule, m);
        for (int i = span.first; i <= span.last; i++)
            EXPECT_LT(std::fabs(scrollY(rule, chart.notes[i].timeMs)), m.aspect + noteReach(m) + 1e-12);
    }
}

TEST(VisibleNoteSpan, EdgesOfTheBand)
{
    const FieldMetrics m = fieldMetrics(640, 480, 20, 0.75);
    Chart chart;
    // 500 ms per beat: 4000 ms ahead is the top edge; about 1500 ms behind the bottom edge.
    setChartNotes(chart, notesAt({0, 7000, 8500, 10000, 14000, 14100, 20000}));
    const ScrollRule rule{10000, 500, 1.0, 0.75};
    const NoteSpan span = visibleNoteSpan(chart, rule, m);
    EXPECT_EQ(span.first, 2);
    EXPECT_EQ(span.last, 4); // the note at the top edge shows half its head; 100 ms later does not
    EXPECT_EQ(span.slideFromBelow, 1);

    setChartNotes(chart, notesAt({}));
    const NoteSpan none = visibleNoteSpan(chart, rule, m);
    EXPECT_GT(none.first, none.last);

    setChartNotes(chart, notesAt({30000, 40000}));
    const NoteSpan ahead = visibleNoteSpan(chart, rule, m);
    EXPECT_GT(ahead.first, ahead.last);
    EXPECT_EQ(ahead.slideFromBelow, -1);
}

// Times whose distances from the clock do not rise along the chart: every note that can show is
// still found.
TEST(VisibleNoteSpan, ChartsBeyondTheSignedRange)
{
    const FieldMetrics m = fieldMetrics(640, 480, 20, 0.75);
    struct Case {
        const char *what;
        std::vector<uint32_t> times;
        int songTimeMs;
    };
    const Case cases[] = {
        // Four measures of 1.2e9 ms: the third note lies 2.4e9 ms ahead, which counts as behind.
        {"24.8 days and more", {0, 1200000000u, 2400000000u, 3600000000u}, 0},
        {"last note's step wraps", {0, 1200000000u, 2400000000u, 3600000000u}, 1200000000},
        // Under 2^31 ms long, but the lead-in clock puts the last note 2^31 ms ahead.
        {"clock before a long chart", {0, 0x7FFFFFF0u}, -1000},
        {"stepping back", {5000, 1000, 9000}, 1000},
    };
    Chart chart;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        setChartNotes(chart, notesAt(c.times));
        expectSpanHoldsShowingNotes(chart, ScrollRule{c.songTimeMs, 500, 1.0, 0.75}, m);
    }
}

TEST(VisibleNoteSpan, ChartLongerThan24DaysFromTheParser)
{
    Chart chart;
    parseChartText("BPM:120\n#START\n#MEASURE 600000/1\n4c ,4d ,4e ,4f ,\n#END\n", "", 1, chart);
    ASSERT_EQ(chart.noteCount, 4);
    const FieldMetrics m = fieldMetrics(640, 480, 20, 0.75);
    const ScrollRule rule{0, chart.msPerBeat, 1.0, 0.75};
    const NoteSpan span = visibleNoteSpan(chart, rule, m);
    EXPECT_LE(span.first, 0); // note 0 stands on the judgement line
    EXPECT_GE(span.last, 0);
    for (const ChartNote &note : chart.notes) {
        SCOPED_TRACE(note.timeMs);
        expectSpanHoldsShowingNotes(chart, ScrollRule{static_cast<int>(note.timeMs), chart.msPerBeat, 1.0, 0.75}, m);
    }
}

// The parser refills one storage for every song: a chart with the same count and end times as
// the one before is still looked at afresh.
TEST(VisibleNoteSpan, NextChartInTheSameStorage)
{
    const FieldMetrics m = fieldMetrics(640, 480, 20, 0.75);
    const ScrollRule rule{0, 500, 1.0, 0.75};
    Chart chart;
    setChartNotes(chart, notesAt({0, 1000, 2000, 3000}));
    const ChartNote *storage = chart.notes.data();
    EXPECT_EQ(visibleNoteSpan(chart, rule, m).last, 3);
    setChartNotes(chart, notesAt({0, 1200000000u, 2400000000u, 3000}));
    ASSERT_EQ(chart.notes.data(), storage);
    expectSpanHoldsShowingNotes(chart, rule, m);
}

TEST(VisibleNoteSpan, SlideReachesBandWhenItCrossesIt)
{
    const FieldMetrics m = fieldMetrics(640, 480, 20, 0.75);
    struct Case {
        double y0, y1;
        bool reaches;
    };
    const Case cases[] = {
        {-2.0, 2.0, true}, // from below the bottom to above the top
        {-2.0, -1.0, false}, {1.0, 3.0, false}, {-0.76, -0.9, true},
        {0.5, 0.6, true},    {0.76, 0.9, true}, {0.8, 0.9, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(reachesBand(c.y0, c.y1, m), c.reaches) << c.y0 << " " << c.y1;
}

TEST(VisibleNoteSpan, IndexOfRecordsOutsideTheNotes)
{
    Chart chart;
    setChartNotes(chart, notesAt({1, 2, 3}));
    EXPECT_EQ(noteIndexOf(chart, &chart.notes[2]), 2);
    EXPECT_EQ(noteIndexOf(chart, &chart.notes[3]), -1); // the spare record
    EXPECT_EQ(noteIndexOf(chart, nullptr), -1);
}

} // namespace
