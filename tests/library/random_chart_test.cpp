#include <gtest/gtest.h>

#include <random>
#include <string>

#include "library/chart_parser.h"
#include "library_files.h"

namespace {

struct RandomChart {
    std::string text;
    int measures = 0;
    int notesInClosedMeasures = 0;
    int ghostsInClosedMeasures = 0;
};

// Well-formed tokens separated by blanks, so the tokens are exactly those written.
RandomChart makeRandomChart(std::mt19937 &random)
{
    const std::string octaves = "0123456789!\"#$%&'()";
    const std::string letters = "abcdefgABCDEFG0";
    const std::string accidentals = " +-";
    auto pick = [&](const std::string &from) { return from[random() % from.size()]; };
    RandomChart chart;
    chart.text = "WAVE:song.ogg\nBPM:" + std::to_string(30 + random() % 300) + "\nOFFSET:0." +
                 std::to_string(random() % 1000) + "\n#START\n";
    int pendingNotes = 0, pendingGhosts = 0;
    int lines = 1 + random() % 40;
    for (int line = 0; line < lines; line++) {
        if (random() % 8 == 0)
            chart.text += "#MEASURE " + std::to_string(random() % 17) + "/" + std::to_string(1 + random() % 16) + "\n";
        int items = random() % 12;
        for (int item = 0; item < items; item++) {
            if (random() % 5 == 0) {
                chart.text += ", ";
                chart.measures++;
                chart.notesInClosedMeasures += pendingNotes;
                chart.ghostsInClosedMeasures += pendingGhosts;
                pendingNotes = pendingGhosts = 0;
                continue;
            }
            char octave = pick(octaves), letter = pick(letters);
            chart.text += std::string{octave, letter, pick(accidentals)} + " ";
            if (letter != '0') {
                pendingNotes++;
                pendingGhosts += octave > '9' || octave < '0';
            }
        }
        chart.text += random() % 2 ? "\n" : "\r\n";
    }
    chart.text += "#END\n";
    return chart;
}

} // namespace

TEST(RandomCharts, KeepTheirInvariants)
{
    std::mt19937 random(20240611);
    for (int round = 0; round < 300; round++) {
        RandomChart source = makeRandomChart(random);
        SCOPED_TRACE(source.text);
        Chart chart = parseText(source.text);
        ASSERT_EQ(chart.noteCount, source.notesInClosedMeasures);
        ASSERT_EQ(chart.judgedNoteCount, source.notesInClosedMeasures - source.ghostsInClosedMeasures);
        ASSERT_EQ(chart.measureCount, source.measures);
        ASSERT_EQ(chart.notes.size(), chart.noteCount + 1u);
        for (size_t m = 1; m < chart.measureCount; m++)
            EXPECT_LE(chart.measureTimes[m - 1], chart.measureTimes[m]);
        for (size_t i = 0; i < chart.noteCount; i++) {
            const ChartNote &note = chart.notes[i];
            if (i > 0) {
                EXPECT_LE(chart.notes[i - 1].timeMs, note.timeMs);
            }
            double shown = note.pitch + 12 * note.octaveShift;
            EXPECT_GE(shown, -12);
            EXPECT_LE(shown, 11);
            ASSERT_NE(note.prev, nullptr);
            EXPECT_TRUE(note.prev == &note || (!note.prev->ghost && note.prev < &note));
            if (i + 1 < chart.noteCount) {
                ASSERT_NE(note.next, nullptr);
                EXPECT_FALSE(note.next->ghost);
                EXPECT_GT(note.next, &note);
            } else {
                EXPECT_EQ(note.next, nullptr);
            }
        }
    }
}
