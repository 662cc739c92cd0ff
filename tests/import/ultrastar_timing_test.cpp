#include <gtest/gtest.h>

#include <sndfile.h>

#include <cmath>
#include <random>
#include <sstream>

#include "chart_draft.h"
#include "import_support.h"
#include "library/chart_parser.h"
#include "song_mapping.h"
#include "support/scratch_folder.h"
#include "ultrastar_chart.h"
#include "ultrastar_reader.h"

namespace {

struct TempoCase {
    const char *bpmText;
    double bpm;
    const char *gapText;
    double gapMs;
};

// Tempos whose measures are no whole number of ms drift by up to 1 ms a measure when nothing
// compensates; long songs make that drift show.
const TempoCase TempoCases[] = {
    {"287,5", 287.5, "1234,5", 1234.5}, {"300", 300.0, "0", 0.0},       {"123.456", 123.456, "98765.4", 98765.4},
    {"413,7", 413.7, "17", 17.0},       {"33.3", 33.3, "5000", 5000.0}, {"199.99", 199.99, "-250", -250.0},
    {"1000", 1000.0, "333.3", 333.3},   {"97", 97.0, "12.9", 12.9},
};

std::vector<SongNote> randomSong(unsigned seed, double bpm, double minutes)
{
    std::mt19937 random(seed);
    std::vector<SongNote> notes;
    const long lastBeat = static_cast<long>(minutes * 60000 / (15000.0 / bpm));
    for (long beat = static_cast<long>(random() % 5); beat < lastBeat; beat += 1 + static_cast<long>(random() % 13)) {
        SongNote note;
        note.beat = beat;
        note.pitch = static_cast<int>(random() % 30) - 8;
        note.type = random() % 10 == 0 ? 'F' : ':';
        notes.push_back(note);
    }
    return notes;
}

struct ExpectedNote {
    double ms;
    int pitch; // before the octave shift
    bool ghost;
};

std::vector<ExpectedNote> expectedNotes(const std::vector<SongNote> &notes, double bpm, double gapMs)
{
    std::vector<ExpectedNote> expected;
    for (const SongNote &note : notes)
        expected.push_back({gapMs + note.beat * 15000.0 / bpm, note.pitch - 12, note.type == 'F'});
    return expected;
}

} // namespace

TEST(UltraStarTiming, EveryNoteLandsWithinTwoMsOfItsBeatWithItsMappedPitch)
{
    unsigned seed = 1;
    for (const TempoCase &tempo : TempoCases) {
        SCOPED_TRACE(tempo.bpmText);
        const std::vector<SongNote> notes = randomSong(seed++, tempo.bpm, 12.0);
        const std::string text = ultraStarText({"#TITLE:T", "#ARTIST:A", std::string("#BPM:") + tempo.bpmText,
                                                std::string("#GAP:") + tempo.gapText},
                                               notes);
        UltraStarSong song;
        std::string why;
        ASSERT_TRUE(readUltraStar(text, song, why)) << why;
        ChartDraft draft;
        int shift = 99;
        ASSERT_TRUE(ultraStarDraft(song, 1, draft, shift, why)) << why;
        Chart chart;
        parseChartText(writeChartText(draft), "", 1, chart);

        const std::vector<ExpectedNote> expected = expectedNotes(notes, tempo.bpm, tempo.gapMs);
        ASSERT_EQ(chart.noteCount, expected.size());
        double worst = 0.0;
        for (size_t i = 0; i < expected.size(); i++) {
            const double parsed = static_cast<int32_t>(chart.notes[i].timeMs);
            worst = std::max(worst, std::fabs(parsed - expected[i].ms));
            ASSERT_EQ(chart.notes[i].pitch, expected[i].pitch + 12 * shift) << "note " << i;
            ASSERT_EQ(chart.notes[i].ghost, expected[i].ghost ? 1 : 0) << "note " << i;
        }
        EXPECT_LE(worst, 2.0);
    }
}

// The same promise as the chart tool shows it, for a song imported with its music.
TEST(UltraStarTiming, DumpOfAnImportedSongShowsEveryNoteOnTime)
{
    ScratchFolder folder;
    const std::vector<SongNote> notes = randomSong(42, 287.5, 5.0);
    folder.write("in/song.txt",
                 ultraStarText({"#TITLE:Long", "#ARTIST:Drift", "#MP3:song.wav", "#BPM:287,5", "#GAP:777,7"}, notes));
    ASSERT_TRUE(writeTone(folder.file("in/song.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 8000, 1, 0.2));
    ASSERT_EQ(runChartTool("import " + quoted(folder.file("in")) + " --into " + quoted(folder.file("out"))).exitCode,
              0);
    const ToolRun dump = runChartTool("dump " + quoted(folder.file("out/Drift - Long/chart.txt")));
    ASSERT_EQ(dump.exitCode, 0);
    // The checker has nothing to say about it, its music found through the song list's folder.
    const ToolRun check = runChartTool("check " + quoted(folder.file("out/Drift - Long/chart.txt")));
    EXPECT_EQ(check.exitCode, 0);
    EXPECT_EQ(check.output, "");

    const std::vector<ExpectedNote> expected = expectedNotes(notes, 287.5, 777.7);
    std::istringstream lines(dump.output);
    std::string line;
    size_t i = 0;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string kind;
        size_t index;
        long timeMs;
        double pitch;
        if (!(fields >> kind >> index >> timeMs >> pitch) || kind != "note")
            continue;
        ASSERT_LT(i, expected.size());
        EXPECT_LE(std::fabs(static_cast<double>(timeMs) - expected[i].ms), 2.0) << "note " << i;
        EXPECT_EQ(pitch, expected[i].pitch) << "note " << i; // these pitches need no octave shift
        i++;
    }
    EXPECT_EQ(i, expected.size());
}

TEST(UltraStarPitch, TheOctaveShiftLeavesTheFewestNotesToFold)
{
    struct Case {
        std::vector<int> pitches; // ours, before the shift
        int shift;
    };
    const Case cases[] = {
        {{-12, 0, 11}, 0},      // already in the field
        {{12, 14, 16, 23}, -1}, // an octave too high
        {{-30, -28, -25}, 2},   // two octaves too low
        {{-24, -13}, 1},        // just below
        {{0, 12, 24}, -1},      // one outside either way down, two with no shift
        {{-13, 12}, 1},         // a tie goes upward
        {{5, 17, 18, 19}, -1},  // most notes are above
        {{}, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.pitches));
        EXPECT_EQ(octaveShiftForField(c.pitches), c.shift);
    }
}

TEST(UltraStarPitch, TokensSpellEveryPitchTheParserReadsBack)
{
    for (int pitch = -48; pitch <= 71; pitch++) {
        for (bool ghost : {false, true}) {
            if (ghost && pitch < -36)
                continue;
            const std::string token = noteToken(pitch, ghost, pitch % 2 == 0);
            Chart chart;
            parseChartText("BPM:120\n#START\n" + token + " ,\n#END\n", "", 1, chart);
            ASSERT_EQ(chart.noteCount, 1u) << token;
            EXPECT_EQ(chart.notes[0].pitch, pitch) << token;
            EXPECT_EQ(chart.notes[0].ghost, ghost ? 1 : 0) << token;
            EXPECT_EQ(chart.notes[0].linked, pitch % 2 == 0 ? 1 : 0) << token;
        }
    }
    // Beyond the writable octaves, whole octaves are taken off.
    EXPECT_EQ(noteToken(72, false, false), "9c ");
    EXPECT_EQ(noteToken(-49, false, false), "0b ");
    EXPECT_EQ(noteToken(-40, true, false), "!g+");
}
