#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "gfx/note_renderer.h"
#include "gfx/note_span.h"

namespace {

// Notes at the given times with prev/next links over the non-ghost notes and the spare record.
Chart makeChart(const std::vector<uint32_t> &times, const std::vector<int> &ghosts = {})
{
    Chart chart;
    chart.noteCount = static_cast<uint16_t>(times.size());
    chart.notes.resize(times.size() + 1);
    chart.notes.back().state = 0;
    for (size_t i = 0; i < times.size(); i++) {
        chart.notes[i].timeMs = times[i];
        chart.notes[i].ghost = i < ghosts.size() ? ghosts[i] : 0;
    }
    for (size_t i = 0; i <= times.size(); i++) {
        ChartNote &note = chart.notes[i];
        note.prev = &chart.notes[0];
        for (size_t j = i; j-- > 0;) {
            if (chart.notes[j].ghost == 0) {
                note.prev = &chart.notes[j];
                break;
            }
        }
        if (i + 1 < times.size()) {
            size_t j = i + 1;
            while (j < times.size() && chart.notes[j].ghost != 0)
                j++;
            note.next = &chart.notes[j];
        }
    }
    chart.currentNote = &chart.notes[0];
    return chart;
}

bool headReachesBand(const Chart &chart, int i, const ScrollRule &rule, const FieldMetrics &m)
{
    const double y = scrollY(rule, chart.notes[i].timeMs);
    return y + m.headHalfHeight >= -m.aspect && y - m.headHalfHeight <= m.aspect;
}

// Against every note checked one by one: the span holds every note whose head touches the band,
// and only notes close to it.
TEST(NoteSpan, HoldsEveryNoteThatCanShow)
{
    std::mt19937 random(7);
    for (int round = 0; round < 200; round++) {
        const int count = 1 + static_cast<int>(random() % 400);
        std::vector<uint32_t> times(count);
        uint32_t t = random() % 3000;
        for (uint32_t &time : times) {
            t += random() % 4 == 0 ? 0 : random() % 700;
            time = t;
        }
        const Chart chart = makeChart(times);
        const FieldMetrics m = fieldMetrics(640, 480 - 120 * (round % 3), 20, (480.0 - 120 * (round % 3)) / 640);
        const ScrollRule rule{static_cast<int>(random() % (t + 2000)), static_cast<uint32_t>(300 + random() % 400),
                              1.0 + 0.5 * (random() % 7), m.aspect};
        const NoteSpan span = visibleNoteSpan(chart, rule, m);
        for (int i = 0; i < count; i++) {
            if (headReachesBand(chart, i, rule, m)) {
                EXPECT_GE(i, span.first) << "round " << round;
                EXPECT_LE(i, span.last) << "round " << round;
            }
        }
        for (int i = span.first; i <= span.last; i++) {
            const double y = scrollY(rule, chart.notes[i].timeMs);
            EXPECT_LT(std::fabs(y), m.aspect + noteReach(m) + 1e-12);
        }
    }
}

TEST(NoteSpan, EdgesOfTheBand)
{
    const FieldMetrics m = fieldMetrics(640, 480, 20, 0.75);
    // 500 ms per beat: 4000 ms ahead is the top edge; about 1500 ms behind the bottom edge.
    const Chart chart = makeChart({0, 7000, 8500, 10000, 14000, 14100, 20000});
    const ScrollRule rule{10000, 500, 1.0, 0.75};
    const NoteSpan span = visibleNoteSpan(chart, rule, m);
    EXPECT_EQ(span.first, 2);
    EXPECT_EQ(span.last, 4);     // the note at the top edge shows half its head; 100 ms later does not

    const Chart empty = makeChart({});
    const NoteSpan none = visibleNoteSpan(empty, rule, m);
    EXPECT_GT(none.first, none.last);

    const Chart allAhead = makeChart({30000, 40000});
    const NoteSpan ahead = visibleNoteSpan(allAhead, rule, m);
    EXPECT_GT(ahead.first, ahead.last);
}

TEST(NoteSpan, SlideReachesBandWhenItCrossesIt)
{
    const FieldMetrics m = fieldMetrics(640, 480, 20, 0.75);
    struct Case {
        double y0, y1;
        bool reaches;
    };
    const Case cases[] = {
        {-2.0, 2.0, true},   // from below the bottom to above the top
        {-2.0, -1.0, false}, {1.0, 3.0, false}, {-0.76, -0.9, true}, {0.5, 0.6, true}, {0.76, 0.9, true},
        {0.8, 0.9, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(reachesBand(c.y0, c.y1, m), c.reaches) << c.y0 << " " << c.y1;
}

TEST(NoteSpan, HitEffectsOfTheLatestGradedNotesOnly)
{
    Chart chart = makeChart({1000, 1100, 1200, 1300, 1400, 1500}, {0, 0, 1, 0, 0, 0});
    const uint32_t now = 50000;
    chart.notes[0].gradeTime = now - 900;   // long over
    chart.notes[1].gradeTime = now - 150;
    chart.notes[3].gradeTime = 0;           // missed: no effect, and the walk goes on past it
    chart.notes[4].gradeTime = now - 10;
    chart.noteIndex = 5;
    chart.currentNote = &chart.notes[5];

    std::vector<int> seen;
    forEachNoteWithHitEffect(chart, now, now - 10, [&](ChartNote &note) { seen.push_back(noteIndexOf(chart, &note)); });
    EXPECT_EQ(seen, (std::vector<int>{4, 1}));

    // Nothing judged for 200 ms: no effect can still run.
    seen.clear();
    forEachNoteWithHitEffect(chart, now, now - 200, [&](ChartNote &note) { seen.push_back(noteIndexOf(chart, &note)); });
    EXPECT_TRUE(seen.empty());

    // An effect ends exactly 200 ms after its grade; a grade time of 0 is no grade.
    chart.notes[4].gradeTime = now - 200;
    chart.notes[1].gradeTime = now - 300;
    seen.clear();
    forEachNoteWithHitEffect(chart, now, now - 1, [&](ChartNote &note) { seen.push_back(noteIndexOf(chart, &note)); });
    EXPECT_TRUE(seen.empty());

    chart.notes[4].gradeTime = now - 199;
    chart.noteIndex = 6;            // every note passed: the cursor rests on the spare record
    chart.currentNote = &chart.notes[6];
    seen.clear();
    forEachNoteWithHitEffect(chart, now, now - 1, [&](ChartNote &note) { seen.push_back(noteIndexOf(chart, &note)); });
    EXPECT_EQ(seen, (std::vector<int>{4}));
}

TEST(NoteSpan, ConnectorJoinsTheFacingCornersOfTheHeads)
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
        const float expected[8] = {-hs, -0.2f + c.d, static_cast<float>(c.toX) - hs, 0.4f + c.d,
                                   static_cast<float>(c.toX) + hs, 0.4f - c.d, hs, -0.2f - c.d};
        for (int i = 0; i < 8; i++)
            EXPECT_NEAR(band[i], expected[i], 1e-6) << c.toX << " " << i;
    }
}

TEST(NoteSpan, IndexOfRecordsOutsideTheNotes)
{
    const Chart chart = makeChart({1, 2, 3});
    EXPECT_EQ(noteIndexOf(chart, &chart.notes[2]), 2);
    EXPECT_EQ(noteIndexOf(chart, &chart.notes[3]), -1);     // the spare record
    EXPECT_EQ(noteIndexOf(chart, nullptr), -1);
}

} // namespace
