#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "library/chart_notes.h"
#include "library/chart_parser.h"
#include "library_files.h"

using namespace std::string_literals;

namespace {

std::vector<uint32_t> noteTimes(const Chart &chart)
{
    std::vector<uint32_t> times;
    for (size_t i = 0; i < chart.noteCount; i++)
        times.push_back(chart.notes[i].timeMs);
    return times;
}

std::vector<double> notePitches(const Chart &chart)
{
    std::vector<double> pitches;
    for (size_t i = 0; i < chart.noteCount; i++)
        pitches.push_back(chart.notes[i].pitch);
    return pitches;
}

std::vector<int> noteShifts(const Chart &chart)
{
    std::vector<int> shifts;
    for (size_t i = 0; i < chart.noteCount; i++)
        shifts.push_back(chart.notes[i].octaveShift);
    return shifts;
}

size_t indexOf(const Chart &chart, const ChartNote *note) { return static_cast<size_t>(note - chart.notes.data()); }

const char *const Head120 = "WAVE:demo.ogg\nBPM:120\nOFFSET:0\n#START\n";

} // namespace

TEST(ChartParser, WorkedExample)
{
    Chart chart = parseText(
        "WAVE:demo.ogg\nBPM:120\nOFFSET:0.5\n#START\n4c 4e 4g 5c ,\n#MEASURE 3/4\n4G 40 4a ,\n#END\n");
    EXPECT_EQ(chart.noteCount, 6);
    EXPECT_EQ(chart.judgedNoteCount, 6);
    EXPECT_EQ(chart.measureCount, 2);
    EXPECT_EQ(chart.offsetMs, 500);
    EXPECT_EQ(chart.musicPath, "/nonexistent/demo.ogg");
    EXPECT_EQ(chart.msPerBeat, 500u);
    EXPECT_EQ(noteTimes(chart), (std::vector<uint32_t>{500, 1000, 1500, 2000, 2500, 3500}));
    EXPECT_EQ(notePitches(chart), (std::vector<double>{0, 4, 7, 12, 7, 9}));
    EXPECT_EQ(noteShifts(chart), (std::vector<int>{0, 0, 0, -1, 0, 0}));
    EXPECT_EQ(chart.measureTimes, (std::vector<uint32_t>{500, 2500}));
    EXPECT_EQ(chart.notes[4].linked, 1);
    ASSERT_EQ(chart.notes.size(), 7u);
    for (size_t i = 0; i < 5; i++)
        EXPECT_EQ(indexOf(chart, chart.notes[i].next), i + 1);
    EXPECT_EQ(chart.notes[5].next, nullptr);
    EXPECT_EQ(chart.notes[0].prev, &chart.notes[0]);
    EXPECT_EQ(chart.notes[6].prev, &chart.notes[5]);
    EXPECT_EQ(chart.notes[6].state, 0);
    EXPECT_EQ(chart.currentNote, &chart.notes[0]);
    EXPECT_EQ(chart.noteIndex, 0);
    EXPECT_EQ(chart.measureIndex, 2);
}

TEST(ChartParser, BodyEdgeCases)
{
    struct Case {
        const char *name;
        std::string text;
        std::vector<uint32_t> times;
        std::vector<double> pitches; // empty: not checked
        std::vector<int> shifts;     // empty: not checked
        std::vector<uint32_t> measureTimes;
    } cases[] = {
        {"two notes", std::string(Head120) + "4c 4e ,\n,\n", {0, 1000}, {0, 4}, {}, {0, 2000}},
        {"rests take slots", std::string(Head120) + "4c 40 40 4g ,\n", {0, 1500}, {}, {}, {0}},
        {"accidentals and folding",
         std::string(Head120) + "4c+ 4c- 3b 9c ,\n",
         {0, 500, 1000, 1500},
         {1, -1, -1, 60},
         {0, 0, 0, -5},
         {0}},
        {"no accidental before ','", std::string(Head120) + "4d, 4c ,\n", {2000}, {}, {}, {0, 2000}},
        {"empty measures", std::string(Head120) + ",,\n", {}, {}, {}, {0, 2000}},
        {"token cut by a line end", std::string(Head120) + "4c 4d\n 4e 4f ,\n", {0, 666, 1333}, {0, 4, 5}, {}, {0}},
        {"measure over two lines", std::string(Head120) + "4c 4d \n4e 4f ,\n", {0, 500, 1000, 1500}, {}, {}, {0}},
        {"7/8 at 150", "BPM:150\n#START\n#MEASURE 7/8\n,,\n", {}, {}, {}, {0, 1400}},
        {"low notes fold up", std::string(Head120) + "2c 2d ,\n", {0, 1000}, {-24, -22}, {2, 1}, {0}},
        {"ghost octaves", std::string(Head120) + "!c #c ,\n", {0, 1000}, {-36, -12}, {3, 0}, {0}},
        {"a linked run passes its shift on", std::string(Head120) + "5C 4c ,\n", {0, 1000}, {12, 0}, {-1, -1}, {0}},
        {"negative offset wraps", "BPM:120\nOFFSET:-0.5\n#START\n4c ,\n", {4294966796u}, {}, {}, {4294966796u}},
        {"later BPM counts for the whole chart", "BPM:60\n#START\n4c 4c ,\n#END\nBPM:120\n", {0, 1000}, {}, {}, {0}},
        {"no #END runs to the end", std::string(Head120) + "4c ,\n4d ,", {0, 2000}, {}, {}, {0, 2000}},
        {"tokens after the last ',' are dropped", std::string(Head120) + "4c ,\n4d 4e ", {0}, {}, {}, {0}},
        {"a second #START is ignored", std::string(Head120) + "4c ,\n#END\n#START\n4d ,\n", {0}, {0}, {}, {0}},
        {"#START inside the body is text", std::string(Head120) + "4c ,\n#START\n4d ,\n", {0, 2000}, {}, {}, {0, 2000}},
        {"#MEASURE x/0 changes nothing",
         std::string(Head120) + "#MEASURE 1/2\n#MEASURE 3/0\n#MEASURE 3/\n,,",
         {},
         {},
         {},
         {0, 1000}},
        {"#MEASURE without '/'", std::string(Head120) + "#MEASURE 1/2\n#MEASURE 3\n,,", {}, {}, {}, {0, 1000}},
        {"#END line is scanned", std::string(Head120) + "4c ,\n#END 4d ,\n4e ,\n", {0, 2000}, {}, {}, {0, 2000}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Chart chart = parseText(c.text);
        EXPECT_EQ(noteTimes(chart), c.times);
        if (!c.pitches.empty()) {
            EXPECT_EQ(notePitches(chart), c.pitches);
        }
        if (!c.shifts.empty()) {
            EXPECT_EQ(noteShifts(chart), c.shifts);
        }
        EXPECT_EQ(chart.measureTimes, c.measureTimes);
        EXPECT_EQ(chart.measureCount, c.measureTimes.size());
        EXPECT_EQ(chart.noteCount + 1u, chart.notes.size());
    }
}

TEST(ChartParser, HeaderValues)
{
    struct Case {
        const char *header;
        double bpm;
        int32_t offsetMs;
        uint32_t msPerBeat;
    } cases[] = {
        {"BPM:120\nOFFSET:1.2345\n", 120, 1234, 500},    {"BPM:  150.5\nOFFSET:-0.5\n", 150.5, -500, 398},
        {"BPM:120\nOFFSET:1e12\n", 120, INT32_MAX, 500}, {"BPM:120\nOFFSET:-1e12\n", 120, INT32_MIN, 500},
        {"BPM:120\nOFFSET:nan\n", 120, 0, 500},          {"BPM:120\nBPM:x\nOFFSET:x\n", 120, 0, 500},
        {"BPM:1e-300\n", 1e-300, 0, UINT32_MAX},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.header);
        Chart chart = parseText(std::string(c.header) + "#START\n4c ,\n");
        EXPECT_EQ(chart.bpm, c.bpm);
        EXPECT_EQ(chart.offsetMs, c.offsetMs);
        EXPECT_EQ(chart.msPerBeat, c.msPerBeat);
    }
}

TEST(ChartParser, ChartsWithoutAUsableTempoAreEmpty)
{
    for (const char *bpm : {"", "BPM:0\n", "BPM:-120\n", "BPM:inf\n", "BPM:nan\n"}) {
        SCOPED_TRACE(bpm);
        Chart chart = parseText(std::string(bpm) + "#START\n4c 4d ,\n,\n");
        EXPECT_EQ(chart.noteCount, 0);
        EXPECT_EQ(chart.judgedNoteCount, 0);
        EXPECT_EQ(chart.measureCount, 0);
        EXPECT_EQ(chart.msPerBeat, 0u);
        ASSERT_EQ(chart.notes.size(), 1u);
        EXPECT_EQ(chart.currentNote, &chart.notes[0]);
        EXPECT_EQ(chart.notes[0].prev, &chart.notes[0]);
    }
}

TEST(ChartParser, KeysNotGivenKeepThePreviousChartsValues)
{
    Chart chart;
    parseChartText("WAVE:a.ogg\nBPM:120\nOFFSET:0.25\n#START\n4c ,,\n", "/d", 1, chart);
    parseChartText("4c ,\n", "/d", 1, chart);
    EXPECT_EQ(chart.bpm, 120);
    EXPECT_EQ(chart.offsetMs, 250);
    EXPECT_EQ(chart.musicPath, "/d/a.ogg");
    // No body: no notes, while the measure count stays with every start at 0.
    EXPECT_EQ(chart.noteCount, 0);
    EXPECT_EQ(chart.measureCount, 2);
    EXPECT_EQ(chart.measureTimes, (std::vector<uint32_t>{0, 0}));
    EXPECT_FALSE(parseChartFile("/nonexistent/chart.txt", "/d", 1, chart));
    EXPECT_EQ(chart.measureCount, 0);
    EXPECT_EQ(chart.bpm, 120);
    EXPECT_EQ(chart.notes.size(), 1u);
}

TEST(ChartParser, GhostsAreCountedButNotJudgedNorLinked)
{
    Chart chart = parseText(std::string(Head120) + "!c 4c #d 4e !f ,\n");
    EXPECT_EQ(chart.noteCount, 5);
    EXPECT_EQ(chart.judgedNoteCount, 2);
    EXPECT_EQ(chart.notes[0].next, &chart.notes[1]);
    EXPECT_EQ(chart.notes[1].next, &chart.notes[3]);
    EXPECT_EQ(chart.notes[3].next, &chart.notes[5]); // only ghosts follow: the spare record
    EXPECT_EQ(chart.notes[4].next, nullptr);
    EXPECT_EQ(chart.notes[1].prev, &chart.notes[1]); // no earlier non-ghost: itself
    EXPECT_EQ(chart.notes[4].prev, &chart.notes[3]);
    EXPECT_EQ(chart.notes[5].prev, &chart.notes[3]);
}

TEST(ChartParser, DifficultyFromLevel)
{
    Chart chart;
    parseChartText("BPM:120\n", "/d", 1, chart);
    EXPECT_NEAR(chart.clearNorm, 0.6357, 1e-4);
    EXPECT_NEAR(chart.gaugeRate, 0.8257, 1e-4);
    parseChartText("BPM:120\n", "/d", 7, chart);
    EXPECT_DOUBLE_EQ(chart.clearNorm, 0.85);
    EXPECT_DOUBLE_EQ(chart.gaugeRate, 0.98);
}

TEST(ChartParser, MeasuresHaveNoTokenLimit)
{
    std::string body;
    for (int i = 0; i < 200; i++)
        body += i % 100 == 99 ? "4c \n" : "4c ";
    Chart chart = parseText(std::string(Head120) + body + ",\n");
    ASSERT_EQ(chart.noteCount, 200);
    EXPECT_EQ(chart.notes[199].timeMs, 1990u);
}

TEST(ChartParser, LongLinesAreReadIn511BytePieces)
{
    std::string body;
    for (int i = 0; i < 171; i++)
        body += "4c ";
    // The 171st token straddles the end of the first 511-byte piece and is lost.
    Chart chart = parseText(std::string(Head120) + body + ",\n");
    EXPECT_EQ(chart.noteCount, 170);
}

TEST(ChartParser, CrLfAndLfGiveTheSameChart)
{
    std::string lf = "WAVE:a.ogg\nBPM:133\nOFFSET:0.1\n#START\n4c 4E 5g+ 40 !c ,\n#MEASURE 5/4\n3a 2b-\n,\n#END\n";
    std::string crlf;
    for (char c : lf)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    Chart a = parseText(lf), b = parseText(crlf);
    EXPECT_EQ(a.musicPath, b.musicPath);
    EXPECT_EQ(noteTimes(a), noteTimes(b));
    EXPECT_EQ(notePitches(a), notePitches(b));
    EXPECT_EQ(noteShifts(a), noteShifts(b));
    EXPECT_EQ(a.measureTimes, b.measureTimes);
    EXPECT_EQ(a.measureLength, 1.25);
    EXPECT_EQ(b.measureLength, 1.25);
}

TEST(ChartParser, HeaderValuesEndAtTheLineEndOrANulByte)
{
    struct Case {
        std::string header;
        std::string musicPath;
        double bpm;
    } cases[] = {
        {"WAVE:x.ogg\r\r\nBPM:90\r\r\n", "/nonexistent/x.ogg", 90},
        {"WAVE:x.ogg\r\r\r\nBPM:90\n", "/nonexistent/x.ogg\r", 90},
        {"WAVE:x.ogg\0.bak\nBPM:9\0"
         "0\n"s,
         "/nonexistent/x.ogg", 9},
        {"WAVE:y\0.ogg\nBPM:90\n"s, "/nonexistent/y", 90},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.musicPath);
        Chart chart = parseText(c.header + "#START\r\r\n4c ,\0 4d ,\n"s);
        EXPECT_EQ(chart.musicPath, c.musicPath);
        EXPECT_EQ(chart.bpm, c.bpm);
        EXPECT_EQ(chart.noteCount, 1);
        EXPECT_EQ(chart.measureCount, 1);
    }
}

TEST(ChartParser, MeasureOnTheLastLineWithoutLineBreak)
{
    Chart chart = parseText(std::string(Head120) + "4c ,\n#MEASURE 3/4");
    EXPECT_EQ(chart.measureLength, 0.75);
}

TEST(ChartParser, CountsStopAt16Bits)
{
    std::string body;
    for (int i = 0; i < 65536; i++)
        body += "4c ,\n";
    Chart chart = parseText(std::string(Head120) + body);
    EXPECT_EQ(chart.noteCount, 65535);
    EXPECT_EQ(chart.measureCount, 65535);
    EXPECT_EQ(chart.notes.size(), 65536u);
}

namespace {

// The link rule as written: walk back over the linked run that ends at i - 1.
int linkRuleByWalking(std::vector<ChartNote> &notes, size_t i)
{
    int shift = 0;
    if (i == 0 || !notes[i - 1].linked)
        return shift;
    for (size_t j = i - 1;; j--) {
        if (notes[j].octaveShift != 0)
            shift = notes[j].octaveShift;
        else if (shift != 0)
            notes[j].octaveShift = shift;
        if (j == 0 || !notes[j - 1].linked)
            break;
    }
    return shift;
}

} // namespace

TEST(ChartNotes, LinkRuleTakesTheEarliestShiftOfTheRun)
{
    // Shifts as placed: 0, -1, 0, 2 in one linked run; the next note takes -1.
    std::vector<ChartNote> notes(5);
    LinkRun run;
    int placed[4] = {0, -1, 0, 2};
    for (size_t i = 0; i < 4; i++) {
        notes[i].linked = 1;
        applyLinkRule(notes, i, run);
        notes[i].octaveShift = placed[i];
    }
    EXPECT_EQ(applyLinkRule(notes, 4, run), -1);
    std::vector<int> shifts;
    for (size_t i = 0; i < 4; i++)
        shifts.push_back(notes[i].octaveShift);
    EXPECT_EQ(shifts, (std::vector<int>{-1, -1, 2, 2}));
}

TEST(ChartNotes, LinkRuleMatchesTheWalkOnRandomRuns)
{
    std::mt19937 random(7);
    for (int round = 0; round < 200; round++) {
        std::vector<ChartNote> walked(300), tracked(300);
        LinkRun run;
        for (size_t i = 0; i < walked.size(); i++) {
            int linked = random() % 8 != 0;
            walked[i].linked = tracked[i].linked = linked;
            int byWalk = linkRuleByWalking(walked, i);
            ASSERT_EQ(applyLinkRule(tracked, i, run), byWalk) << "round " << round << " note " << i;
            // Stands in for the fold: mostly the linked shift, sometimes another one.
            int shift = random() % 4 == 0 ? static_cast<int>(random() % 5) - 2 : byWalk;
            walked[i].octaveShift = tracked[i].octaveShift = shift;
        }
        for (size_t i = 0; i < walked.size(); i++)
            ASSERT_EQ(tracked[i].octaveShift, walked[i].octaveShift) << "round " << round << " note " << i;
    }
}

TEST(ChartNotes, FoldsAndTimeWrap)
{
    struct Case {
        double pitch;
        int shift;
        int whilePlacing;
        int final;
    } cases[] = {
        {12, 0, -1, -1}, {60, 0, -5, -5}, {-24, 0, 2, 2},  {-22, 0, 1, 1},   {-13, 0, 1, 1},
        {-12, 0, 0, 0},  {11, 0, 0, 0},   {12, 1, -2, -1}, {24, -1, -1, -2}, {0, -2, 2, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pitch);
        EXPECT_EQ(foldShift(c.pitch, c.shift, 0, 3, 4), c.whilePlacing);
        EXPECT_EQ(foldShift(c.pitch, c.shift, c.shift, 3, 4), c.final);
    }
    EXPECT_EQ(wrapToUint32(4294967296.0 + 5.9), 5u);
    EXPECT_EQ(wrapToUint32(-500.5), 4294966796u);
    EXPECT_EQ(wrapToUint32(1.0 / 0.0), 0u);
}
