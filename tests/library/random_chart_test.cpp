#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

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

namespace {

// The token rule as a chart author reads it: every position of a body line is tested for an
// octave character, a letter (or '0' for a rest) and an accidental; ',' closes the measure.
struct ReferenceNote {
    double pitch;
    int ghost;
    int linked;
    uint32_t timeMs;
};

std::vector<ReferenceNote> referenceNotes(const std::vector<std::string> &bodyLines, int &measures)
{
    const std::string letters = "cCdDeEfFgGaAbB";
    const int semitones[7] = {0, 2, 4, 5, 7, 9, 11};
    std::vector<ReferenceNote> placed;
    std::vector<ReferenceNote> pending; // timeMs unused until the measure closes; rests have pitch NaN
    measures = 0;
    for (const std::string &line : bodyLines) {
        for (size_t i = 0; i < line.size(); i++) {
            bool plain = line[i] >= '0' && line[i] <= '9';
            bool shifted = line[i] >= '!' && line[i] <= ')';
            if (i + 2 < line.size() && (plain || shifted) &&
                std::string(" +-").find(line[i + 2]) != std::string::npos) {
                int octave = plain ? line[i] - '0' : line[i] - 32;
                int accidental = line[i + 2] == '+' ? 1 : line[i + 2] == '-' ? -1 : 0;
                size_t letter = letters.find(line[i + 1]);
                if (line[i + 1] == '0')
                    pending.push_back({std::nan(""), 0, 0, 0});
                else if (letter != std::string::npos)
                    pending.push_back({semitones[letter / 2] + 12.0 * (octave - 4) + accidental, shifted ? 1 : 0,
                                       static_cast<int>(letter % 2), 0});
            }
            if (line[i] == ',') {
                // 120 BPM, offset 0, whole measures: 2000 ms each, split evenly among its tokens.
                for (size_t k = 0; k < pending.size(); k++) {
                    if (std::isnan(pending[k].pitch))
                        continue;
                    ReferenceNote note = pending[k];
                    note.timeMs = static_cast<uint32_t>(2000.0 * measures + 2000.0 / pending.size() * k);
                    placed.push_back(note);
                }
                pending.clear();
                measures++;
            }
        }
    }
    return placed;
}

} // namespace

TEST(RandomCharts, RunsWithoutSeparatorsFollowTheTokenRule)
{
    // No 'N', 'M', 'S' or 'T', so no body line can begin with a directive.
    const std::string alphabet = "0123456789!\"#$%&'()abcgACG0000    +-+-,,xz";
    std::mt19937 random(511);
    for (int round = 0; round < 300; round++) {
        std::vector<std::string> lines(1 + random() % 30);
        std::string text = "WAVE:song.ogg\nBPM:120\nOFFSET:0\n#START\n";
        for (std::string &line : lines) {
            size_t length = random() % 80;
            for (size_t i = 0; i < length; i++)
                line += alphabet[random() % alphabet.size()];
            text += line + (random() % 2 ? "\n" : "\r\n");
        }
        SCOPED_TRACE(text);
        int measures = 0;
        std::vector<ReferenceNote> expected = referenceNotes(lines, measures);
        Chart chart = parseText(text + "#END\n");
        ASSERT_EQ(chart.measureCount, measures);
        ASSERT_EQ(chart.noteCount, expected.size());
        EXPECT_EQ(chart.judgedNoteCount, std::count_if(expected.begin(), expected.end(),
                                                       [](const ReferenceNote &note) { return !note.ghost; }));
        for (size_t i = 0; i < expected.size(); i++) {
            SCOPED_TRACE(i);
            EXPECT_EQ(chart.notes[i].pitch, expected[i].pitch);
            EXPECT_EQ(chart.notes[i].ghost, expected[i].ghost);
            EXPECT_EQ(chart.notes[i].linked, expected[i].linked);
            EXPECT_EQ(chart.notes[i].timeMs, expected[i].timeMs);
        }
    }
}
