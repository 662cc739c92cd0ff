#include <gtest/gtest.h>

#include "chart_draft.h"
#include "library/chart_parser.h"
#include "ultrastar_chart.h"
#include "ultrastar_reader.h"

namespace {

UltraStarSong readSong(const std::string &text)
{
    UltraStarSong song;
    std::string why;
    EXPECT_TRUE(readUltraStar(text, song, why)) << why;
    return song;
}

Chart chartOfPart(const UltraStarSong &song, int part)
{
    ChartDraft draft;
    int shift = 0;
    std::string why;
    EXPECT_TRUE(ultraStarDraft(song, part, draft, shift, why)) << why;
    Chart chart;
    parseChartText(writeChartText(draft), "", 1, chart);
    return chart;
}

std::vector<uint32_t> noteTimes(const Chart &chart)
{
    std::vector<uint32_t> times;
    for (size_t i = 0; i < chart.noteCount; i++)
        times.push_back(chart.notes[i].timeMs);
    return times;
}

} // namespace

TEST(UltraStarReading, TitlesBecomeUtf8WhateverTheFileWasWrittenIn)
{
    struct Case {
        const char *name;
        std::string bytes;
        std::string title;
        std::string artist;
    };
    const std::string notes = "#BPM:300\n: 0 2 0 la\nE\n";
    const Case cases[] = {
        {"CP1252 by default", "#TITLE:Caf\xE9 \x80uro\n#ARTIST:Bj\xF6rk\n" + notes, "Caf\xC3\xA9 \xE2\x82\xACuro",
         "Bj\xC3\xB6rk"},
        {"UTF-8 without a mark", "#TITLE:Caf\xC3\xA9\n#ARTIST:\xE6\x97\xA5\xE6\x9C\xAC\n" + notes, "Caf\xC3\xA9",
         "\xE6\x97\xA5\xE6\x9C\xAC"},
        {"UTF-8 with a mark", "\xEF\xBB\xBF#TITLE:Na\xC3\xAFve\n#ARTIST:X\n" + notes, "Na\xC3\xAFve", "X"},
        {"declared CP1252", "#ENCODING:CP1252\n#TITLE:\xC3\xA9\n#ARTIST:X\n" + notes, "\xC3\x83\xC2\xA9", "X"},
        {"declared UTF8", "#ENCODING:UTF8\n#TITLE:\xC3\xA9\n#ARTIST:X\n" + notes, "\xC3\xA9", "X"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const UltraStarSong song = readSong(c.bytes);
        EXPECT_EQ(song.title, c.title);
        EXPECT_EQ(song.artist, c.artist);
    }
}

TEST(UltraStarReading, HeaderTags)
{
    const UltraStarSong song = readSong(
        "#title:Song\n#ARTIST:Band\n#MP3:old.mp3\n#AUDIO:new.ogg\n#BPM:287,5\n#GAP:12,5\n#START:3\n"
        "#END:9000\n: 0 2 0 la\nE\n: 99 1 0 after the end\n");
    EXPECT_EQ(song.title, "Song");
    EXPECT_EQ(song.audio, "new.ogg"); // the newer tag wins
    EXPECT_EQ(song.bpm, 287.5);
    EXPECT_EQ(song.gapMs, 12.5);
    EXPECT_EQ(song.parts[0].size(), 1u);
    EXPECT_EQ(readSong("#TITLE:S\n#MP3:only.mp3\n#BPM:100\n: 0 1 0 a\nE\n").audio, "only.mp3");
}

TEST(UltraStarReading, BrokenFilesSayWhy)
{
    const struct {
        const char *text;
        const char *reason;
    } cases[] = {
        {"#TITLE:S\n: 0 2 0 la\nE\n", "no usable #BPM"},
        {"#TITLE:S\n#BPM:0\n: 0 2 0 la\nE\n", "no usable #BPM"},
        {"#TITLE:S\n#BPM:120\nE\n", "no notes"},
        {"#TITLE:S\n#BPM:120\n: x 2 0 la\nE\n", "line 3: a note line without beat, length and pitch"},
        {"#BPM:120\n: 0 2 67 la\n: 4 2 -61 la\nE\n", "line 3: pitch -61 is off the 128 MIDI keys"},
        {"#BPM:120\n: 0 2 1157204069 la\nE\n", "line 2: pitch 1157204069 is off the 128 MIDI keys"},
    };
    for (const auto &c : cases) {
        UltraStarSong song;
        std::string why;
        EXPECT_FALSE(readUltraStar(c.text, song, why)) << c.text;
        EXPECT_EQ(why, c.reason);
    }
}

// 300 BPM: a beat is 50 ms.
TEST(UltraStarReading, DuetPartsAreChosenByNumber)
{
    const UltraStarSong song = readSong(
        "#TITLE:D\n#BPM:300\nP1\n: 0 2 0 a\n: 4 2 2 b\n- 6\nP2\n: 2 2 5 c\n"
        ": 8 2 7 d\n: 12 2 9 e\nE\n");
    EXPECT_EQ(noteTimes(chartOfPart(song, 1)), (std::vector<uint32_t>{0, 200}));
    const Chart second = chartOfPart(song, 2);
    EXPECT_EQ(noteTimes(second), (std::vector<uint32_t>{100, 400, 600}));
    EXPECT_EQ(second.notes[0].pitch, 5 - 12);

    ChartDraft draft;
    int shift = 0;
    std::string why;
    EXPECT_FALSE(ultraStarDraft(readSong("#TITLE:S\n#BPM:300\n: 0 2 0 a\nE\n"), 2, draft, shift, why));
    EXPECT_EQ(why, "no duet part 2");
}

TEST(UltraStarReading, RelativeBeatsCountFromThePhraseStart)
{
    // "- end next": the next phrase's beats count from next; "- end" alone counts from end.
    const UltraStarSong song = readSong(
        "#TITLE:R\n#BPM:300\n#RELATIVE:yes\n: 0 2 0 a\n: 4 2 0 b\n- 6 10\n"
        ": 0 2 0 c\n: 2 2 0 d\n- 4\n: 1 2 0 e\nE\n");
    EXPECT_EQ(noteTimes(chartOfPart(song, 1)), (std::vector<uint32_t>{0, 200, 500, 600, 750}));
    const UltraStarSong absolute = readSong("#TITLE:R\n#BPM:300\n: 0 2 0 a\n: 4 2 0 b\n- 6 10\n: 12 2 0 c\nE\n");
    EXPECT_EQ(noteTimes(chartOfPart(absolute, 1)), (std::vector<uint32_t>{0, 200, 600}));
}

TEST(UltraStarReading, TildeSyllablesSlideAndRapIsShownNotJudged)
{
    const UltraStarSong song = readSong(
        "#TITLE:S\n#BPM:300\n: 0 2 0 lo\n: 2 2 4 ~\n: 4 2 7 ~ve\n: 6 2 5 you\n"
        "R 8 2 0 yo\nG 10 2 0 yo\nF 12 2 0 hey\n* 14 2 2 gold\nE\n");
    const Chart chart = chartOfPart(song, 1);
    ASSERT_EQ(chart.noteCount, 8);
    const int linked[] = {1, 1, 0, 0, 0, 0, 0, 0};
    const int ghost[] = {0, 0, 0, 0, 1, 1, 1, 0};
    for (int i = 0; i < 8; i++) {
        EXPECT_EQ(chart.notes[i].linked, linked[i]) << i;
        EXPECT_EQ(chart.notes[i].ghost, ghost[i]) << i;
    }
    EXPECT_EQ(chart.judgedNoteCount, 5);
}
