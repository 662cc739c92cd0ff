// Reading the composer's notation, writing it as chart text, and the rules every demo song keeps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chart_writer.h"
#include "chords.h"
#include "demo_sheets.h"
#include "sheet_builder.h"
#include "sheet_checks.h"
#include "sheet_notation.h"

TEST(SheetNotation, NoteItems)
{
    const struct {
        const char *item;
        bool valid;
        int pitch;
        bool linked;
        bool ghost;
        const char *token;
    } cases[] = {
        {"4c", true, 0, false, false, "4c "},  {"4c+", true, 1, false, false, "4c+"},
        {"3b", true, -1, false, false, "3b "}, {"4C", true, 0, true, false, "4C "},
        {"$g", true, 7, false, true, "$g "},   {"#g+", true, -4, false, true, "#g+"},
        {"3B-", true, -2, true, false, "3B-"}, {"4h", false, 0, false, false, ""},
        {"40", false, 0, false, false, ""},    {"4c#", false, 0, false, false, ""},
        {"*c", false, 0, false, false, ""},    {".", false, 0, false, false, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.item);
        NoteItem note;
        ASSERT_EQ(parseNoteItem(c.item, note), c.valid);
        if (!c.valid)
            continue;
        EXPECT_EQ(note.pitch, c.pitch);
        EXPECT_EQ(note.linked, c.linked);
        EXPECT_EQ(note.ghost, c.ghost);
        EXPECT_EQ(note.token, c.token);
    }
}

TEST(SheetNotation, ChordSymbols)
{
    const struct {
        const char *symbol;
        bool valid;
        int root;
        int bass;
        std::vector<int> intervals;
    } cases[] = {
        {"C", true, 0, 0, {0, 4, 7}},
        {"Am", true, 9, 9, {0, 3, 7}},
        {"B7", true, 11, 11, {0, 4, 7, 10}},
        {"Cmaj7", true, 0, 0, {0, 4, 7, 11}},
        {"F#m", true, 6, 6, {0, 3, 7}},
        {"Bb", true, 10, 10, {0, 4, 7}},
        {"C/E", true, 0, 4, {0, 4, 7}},
        {"Dsus4", true, 2, 2, {0, 5, 7}},
        {"H", false, 0, 0, {}},
        {"Cx", false, 0, 0, {}},
        {"C/", false, 0, 0, {}},
        {"C/Ex", false, 0, 0, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.symbol);
        ChordShape chord;
        ASSERT_EQ(parseChord(c.symbol, chord), c.valid);
        if (!c.valid)
            continue;
        EXPECT_EQ(chord.root, c.root);
        EXPECT_EQ(chord.bass, c.bass);
        EXPECT_EQ(chord.intervals, c.intervals);
    }
    ChordShape am;
    ASSERT_TRUE(parseChord("Am", am));
    EXPECT_EQ(chordVoicing(am, -12), (std::vector<int>{-3, -12, -8}));
}

TEST(ChartWriter, WritesTheFewestSlotsAndEveryMeterChange)
{
    SongSheet sheet;
    sheet.stem = "tiny";
    sheet.title = "Tiny";
    sheet.level = 3;
    sheet.bpm = 140.0;
    sheet.offset = "0.080";
    sheet.measures = {
        bar("", "C"),   bar("4e . 4d . 4c . _ .", "C"), bar("4e . . 4d 4c . #g+ .", "C"), waltzBar("4G . 4a", "C"),
        bar("3a", "C"),
    };
    EXPECT_EQ(chartText(sheet),
              "TITLE:Tiny\nLEVEL:3\nWAVE:tiny.ogg\nBPM:140\nOFFSET:0.080\n#START\n"
              ",\n"
              "4e 4d 4c 40 ,\n"
              "4e 40 40 4d 4c 40 #g+ 40 ,\n"
              "#MEASURE 3/4\n"
              "4G 40 4a ,\n"
              "#MEASURE 4/4\n"
              "3a ,\n"
              "#END\n");
}

TEST(SheetRules, DemoSongsKeepEveryRule)
{
    for (const SongSheet &sheet : demoSongSheets())
        EXPECT_EQ(sheetProblems(sheet), std::vector<std::string>{}) << sheet.stem;
}

TEST(SheetRules, BrokenSheetsAreCaught)
{
    const auto sheetWith = [](int level, std::vector<SheetMeasure> measures) {
        SongSheet sheet;
        sheet.stem = "broken";
        sheet.level = level;
        sheet.bpm = 120.0;
        sheet.offset = "0";
        sheet.measures = {bar("", "C")};
        append(sheet.measures, measures);
        // Long enough for the length rule.
        while (sheet.measures.size() < 25)
            sheet.measures.push_back(bar("", "C"));
        return sheet;
    };
    const auto mentions = [](const std::vector<std::string> &problems, const std::string &text) {
        for (const std::string &problem : problems)
            if (problem.find(text) != std::string::npos)
                return true;
        return false;
    };
    const struct {
        SongSheet sheet;
        const char *problem;
    } cases[] = {
        {sheetWith(1, {bar("4c 4d 4e 4f 4g 4a 4b 3b", "C")}), "too close"},
        {sheetWith(7, {bar("4c 4c 4d 4e 4f 4g 4a 4b", "C")}), "repeated pitch"},
        {sheetWith(5, {bar("4C . 4c .", "C")}), "slide"},
        {sheetWith(5, {bar("4C . _ 4d", "C")}), "slide"},
        {sheetWith(5, {bar("4C . $d 4e", "C")}), "slide"},
        {sheetWith(3, {bar("5c . . .", "C")}), "outside"},
        {sheetWith(3, {bar("2b . . .", "C")}), "outside"},
        {sheetWith(3, {bar("4c . 4x .", "C")}), "bad melody item"},
        {sheetWith(3, {bar("4c . . .", "Q7")}), "bad chord"},
        {sheetWith(3, {}), "no melody"},
    };
    for (const auto &c : cases) {
        const std::vector<std::string> problems = sheetProblems(c.sheet);
        EXPECT_TRUE(mentions(problems, c.problem)) << c.problem;
    }
    SongSheet noLeadIn = sheetWith(3, {});
    noLeadIn.measures[0] = bar("4c . . .", "C");
    EXPECT_TRUE(mentions(sheetProblems(noLeadIn), "backing before it"));
    SongSheet tooShort = sheetWith(3, {bar("4c . . .", "C")});
    tooShort.measures.resize(5);
    EXPECT_TRUE(mentions(sheetProblems(tooShort), "not 45 to 90"));
}
