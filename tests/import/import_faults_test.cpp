#include <gtest/gtest.h>

#include <sndfile.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "audio_conversion.h"
#include "chart_draft.h"
#include "import_run.h"
#include "import_support.h"
#include "library/file_lookup.h"
#include "midi_chart.h"
#include "midi_reader.h"
#include "support/scratch_folder.h"
#include "ultrastar_chart.h"
#include "ultrastar_reader.h"

namespace {

std::string song(const std::string &title, const std::string &bpm, long lastBeat)
{
    return ultraStarText({"#TITLE:" + title, "#ARTIST:Band", "#BPM:" + bpm, "#MP3:m.wav"},
                         {{':', 0, 2, "la"}, {':', lastBeat, 4, "la"}});
}

std::string midiBytes(long lastNoteDelta, long microsecondsPerQuarter)
{
    auto bigEndian = [](long value, int count) {
        std::string bytes;
        for (int i = count - 1; i >= 0; i--)
            bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
        return bytes;
    };
    std::string delta(1, static_cast<char>(lastNoteDelta & 0x7F));
    for (long value = lastNoteDelta >> 7; value != 0; value >>= 7)
        delta.insert(delta.begin(), static_cast<char>(0x80 | (value & 0x7F)));
    const std::string body = std::string("\x00\xFF\x51\x03", 4) + bigEndian(microsecondsPerQuarter, 3) +
                             std::string("\x00\x90\x3C\x64\x60\x80\x3C\x00", 8) + delta +
                             std::string("\x90\x3E\x64\x60\x80\x3E\x00\x00\xFF\x2F\x00", 11);
    return "MThd" + bigEndian(6, 4) + bigEndian(0, 2) + bigEndian(1, 2) + bigEndian(480, 2) + "MTrk" +
           bigEndian(static_cast<long>(body.size()), 4) + body;
}

bool writeSong(ScratchFolder &folder, const std::string &dir, const std::string &text)
{
    folder.write(dir + "/s.txt", text);
    return writeTone(folder.file(dir + "/m.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 8000, 1, 0.1);
}

// What the code prints to stderr while it runs.
template <typename Work>
std::string stderrOf(Work work)
{
    std::fflush(stderr);
    FILE *capture = std::tmpfile();
    const int saved = dup(2);
    dup2(fileno(capture), 2);
    work();
    std::fflush(stderr);
    dup2(saved, 2);
    close(saved);
    std::string text(4096, '\0');
    std::rewind(capture);
    text.resize(std::fread(&text[0], 1, text.size(), capture));
    std::fclose(capture);
    return text;
}

} // namespace

TEST(ImportFaults, ASongBeyondAnHourFailsAloneAndTheOthersAreImported)
{
    ScratchFolder folder;
    ASSERT_TRUE(writeSong(folder, "in/a", song("Far", "300", 9999999999L)));
    ASSERT_TRUE(writeSong(folder, "in/b", song("Near", "300", 64)));
    const ToolRun run = runChartTool("import " + quoted(folder.file("in")) + " --into " + quoted(folder.file("out")));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(pathKind(folder.file("out/Band - Near/chart.txt")), PathKind::File);
    EXPECT_NE(readWholeFile(folder.file("out/import-report.txt"))
                  .find("failed " + folder.file("in/a/s.txt") + ": notes run to 138888:53:19, beyond an hour"),
              std::string::npos);

    // A MIDI note a quarter of a billion ticks in: days of music.
    MidiSong midi;
    std::string why;
    ASSERT_TRUE(readMidi(midiBytes(0x0FFFFFFF, 500000), midi, why)) << why;
    ChartDraft draft;
    int shift = 0;
    EXPECT_FALSE(midiDraft(midi, 0, draft, shift, why));
    EXPECT_EQ(why, "notes run to 77:40:20, beyond an hour");
}

TEST(ImportFaults, MusicRenderedForAMidiFileStopsAtAnHour)
{
    // Type 1: a two-note melody, and a held note released a quarter of a billion ticks in.
    std::string bytes = midiBytes(96, 500000);
    bytes[9] = 1;  // type 1
    bytes[11] = 2; // two tracks
    const std::string held = std::string("\x00\x91\x30\x64", 4) + "\xFF\xFF\xFF\x7F" +
                             std::string("\x81\x30\x00\x00\xFF\x2F\x00", 7);
    bytes += "MTrk" + std::string("\x00\x00\x00", 3) + static_cast<char>(held.size()) + held;
    ScratchFolder folder;
    folder.write("in/tune.mid", bytes);
    ImportOptions options;
    options.sources = {folder.file("in/tune.mid")};
    options.into = folder.file("out");
    ImportSummary summary;
    runImport(options, summary);
    EXPECT_EQ(summary.imported, 0);
    EXPECT_NE(readWholeFile(folder.file("out/import-report.txt")).find(": notes run to 77:40:20, beyond an hour"),
              std::string::npos)
        << readWholeFile(folder.file("out/import-report.txt"));
}

TEST(ImportFaults, TemposNoMusicHasAreRefusedAndTheEdgesOfTheRangeImport)
{
    const struct {
        const char *bpm;
        const char *reason; // empty: imported
    } cases[] = {
        {"1e20", "#BPM:1e+20 is outside 1..100000"},
        {"1e100", "#BPM:1e+100 is outside 1..100000"},
        {"0,5", "#BPM:0.5 is outside 1..100000"},
        {"inf", "#BPM:inf is outside 1..100000"},
        {"1", ""},
        {"100000", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.bpm);
        UltraStarSong karaoke;
        std::string why;
        const bool read = readUltraStar(song("T", c.bpm, 40), karaoke, why);
        EXPECT_EQ(why, c.reason);
        if (!read || *c.reason != '\0')
            continue; // a tempo that far out would never finish its chart
        ChartDraft draft;
        int shift = 0;
        ASSERT_TRUE(ultraStarDraft(karaoke, 1, draft, shift, why)) << why;
        EXPECT_LE(largestTimingError(writeChartText(draft), draft), 2.0);
    }
    for (const char *gap : {"1e18", "-4000000", "nan"}) {
        UltraStarSong karaoke;
        std::string why;
        EXPECT_FALSE(readUltraStar("#BPM:300\n#GAP:" + std::string(gap) + "\n: 0 2 0 la\nE\n", karaoke, why));
        EXPECT_NE(why.find(" is beyond an hour"), std::string::npos) << gap << ": " << why;
    }
    // Relative beats that would overflow when summed are a song far beyond an hour.
    {
        UltraStarSong karaoke;
        std::string why;
        ASSERT_TRUE(
            readUltraStar("#BPM:300\n#RELATIVE:yes\n: 0 2 0 la\n- 9223372036854775807\n"
                          "- 9223372036854775807\n: 9223372036854775807 2 0 la\nE\n",
                          karaoke, why))
            << why;
        ChartDraft draft;
        int shift = 0;
        EXPECT_FALSE(ultraStarDraft(karaoke, 1, draft, shift, why));
        EXPECT_NE(why.find(", beyond an hour"), std::string::npos) << why;
    }
    // A MIDI tempo of 0 would stop time; 599 microseconds a quarter is past 100000 a minute.
    for (long perQuarter : {0L, 599L}) {
        MidiSong midi;
        std::string why;
        EXPECT_FALSE(readMidi(midiBytes(96, perQuarter), midi, why));
        EXPECT_EQ(why, "a tempo of " + std::to_string(perQuarter) + " microseconds a quarter note");
    }
}

TEST(ImportFaults, WithoutIntoTheSongsGoWhereTheGameReadsThePlayersOwn)
{
    ScratchFolder folder;
    ASSERT_TRUE(writeSong(folder, "in", song("Home", "300", 8)));
    ASSERT_EQ(setenv("LUMATIDE_HOME", folder.file("home").c_str(), 1), 0);
    const ToolRun run = runChartTool("import " + quoted(folder.file("in/s.txt")));
    unsetenv("LUMATIDE_HOME");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(readWholeFile(folder.file("home/songs/songlist.txt")), "Band - Home/chart.txt\n");
    EXPECT_EQ(pathKind(folder.file("home/songs/Band - Home/music.ogg")), PathKind::File);
}

TEST(ImportFaults, AFolderThatCannotBeWrittenFailsTheImport)
{
    const struct {
        const char *name;
        const char *into;
        const char *blocker; // a plain file where a folder is needed
    } cases[] = {
        {"the target", "blocked/songs", "blocked"},
        {"the song's folder", "songs", "songs/Band - Stuck"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        ASSERT_TRUE(writeSong(folder, "in", song("Stuck", "300", 8)));
        folder.write(c.blocker, "a file, not a folder");
        ImportOptions options;
        options.sources = {folder.file("in/s.txt")};
        options.into = folder.file(c.into);
        ImportSummary summary;
        std::string messages;
        int status = 0;
        messages = stderrOf([&] { status = runImport(options, summary); });
        EXPECT_EQ(status, 1);
        EXPECT_EQ(summary.skipped, 0);
        EXPECT_GE(summary.failed, 1);
        EXPECT_NE(messages.find("lumatide-chart: " + folder.file("in/s.txt") + ": cannot "), std::string::npos)
            << messages;
    }
}

TEST(ImportFaults, JunkMusicSaysItCannotBeDecodedAndFfmpegKeepsQuiet)
{
    ScratchFolder folder;
    folder.write("junk.mp3", std::string(4000, '\x55'));
    std::string why;
    const std::string messages = stderrOf(
        [&] { EXPECT_FALSE(convertMusic(folder.file("junk.mp3"), folder.file("junk.ogg"), why)); });
    EXPECT_EQ(why.find("does not exist"), std::string::npos) << why;
    EXPECT_EQ(why.rfind("not music libsndfile or FFmpeg can decode", 0), 0u) << why;
    EXPECT_EQ(messages.find(" @ 0x"), std::string::npos) << messages; // FFmpeg's "[mp3 @ 0x...]" lines
}

TEST(ImportFaults, TheProgressLineNamesTheSongEvenWhenItsMusicIsMissing)
{
    ScratchFolder folder;
    folder.write("in/s.txt", song("Silent", "300", 8));
    // A terminal for the progress line: script(1) gives the tool one.
    const std::string command = "script -qec " +
                                quoted(std::string(LUMATIDE_BUILD_DIR "/lumatide-chart import ") +
                                       quoted(folder.file("in/s.txt")) + " --into " + quoted(folder.file("out"))) +
                                " /dev/null 2>/dev/null";
    FILE *pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, got);
    pclose(pipe);
    EXPECT_NE(output.find("[  1/1] Band - Silent"), std::string::npos) << output;
}
