#include <gtest/gtest.h>

#include <sndfile.h>

#include <cmath>

#include "chart_draft.h"
#include "import_run.h"
#include "import_support.h"
#include "library/chart_parser.h"
#include "midi_chart.h"
#include "midi_reader.h"
#include "support/scratch_folder.h"

namespace {

// MIDI files written byte by byte.
std::string variableLength(long value)
{
    std::string bytes(1, static_cast<char>(value & 0x7F));
    while (value >>= 7)
        bytes.insert(bytes.begin(), static_cast<char>(0x80 | (value & 0x7F)));
    return bytes;
}

std::string bigEndian(long value, int count)
{
    std::string bytes;
    for (int i = count - 1; i >= 0; i--)
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

struct Event {
    long tick;
    std::string bytes; // status and data, or FF type length data
};

Event noteOn(long tick, int channel, int key, int velocity = 100)
{
    return {tick, std::string{static_cast<char>(0x90 | channel), static_cast<char>(key), static_cast<char>(velocity)}};
}
Event noteOff(long tick, int channel, int key)
{
    return {tick, std::string{static_cast<char>(0x80 | channel), static_cast<char>(key), 0}};
}
Event tempo(long tick, long microsecondsPerQuarter)
{
    return {tick, std::string("\xFF\x51\x03", 3) + bigEndian(microsecondsPerQuarter, 3)};
}
Event trackName(const std::string &name)
{
    return {0, std::string("\xFF\x03", 2) + variableLength(static_cast<long>(name.size())) + name};
}

std::string track(std::vector<Event> events)
{
    std::stable_sort(events.begin(), events.end(), [](const Event &a, const Event &b) { return a.tick < b.tick; });
    std::string body;
    long at = 0;
    for (const Event &event : events) {
        body += variableLength(event.tick - at) + event.bytes;
        at = event.tick;
    }
    body += std::string("\x00\xFF\x2F\x00", 4);
    return "MTrk" + bigEndian(static_cast<long>(body.size()), 4) + body;
}

std::string midiFile(int format, int division, const std::vector<std::string> &tracks)
{
    std::string bytes = "MThd" + bigEndian(6, 4) + bigEndian(format, 2) +
                        bigEndian(static_cast<long>(tracks.size()), 2) + bigEndian(division, 2);
    for (const std::string &t : tracks)
        bytes += t;
    return bytes;
}

struct Melody {
    std::vector<long> ticks;
    std::vector<int> keys;
};

// Notes of half the gap between them, on channel 0.
std::vector<Event> melodyEvents(const Melody &melody, int channel = 0)
{
    std::vector<Event> events;
    for (size_t i = 0; i < melody.ticks.size(); i++) {
        const long next = i + 1 < melody.ticks.size() ? melody.ticks[i + 1] : melody.ticks[i] + 480;
        events.push_back(noteOn(melody.ticks[i], channel, melody.keys[i]));
        events.push_back(noteOff(melody.ticks[i] + (next - melody.ticks[i]) / 2, channel, melody.keys[i]));
    }
    return events;
}

// The tempo map, worked out again here: ms of a tick at 480 ticks a quarter.
double expectedMs(const std::vector<std::pair<long, long>> &tempos, long tick)
{
    double ms = 0.0;
    long at = 0, perQuarter = 500000;
    for (const auto &change : tempos) {
        if (change.first >= tick)
            break;
        ms += (change.first - at) * (perQuarter / 480000.0);
        at = change.first;
        perQuarter = change.second;
    }
    return ms + (tick - at) * (perQuarter / 480000.0);
}

Chart chartOf(const MidiSong &song, int trackIndex, int &shift)
{
    ChartDraft draft;
    std::string why;
    EXPECT_TRUE(midiDraft(song, trackIndex, draft, shift, why)) << why;
    Chart chart;
    parseChartText(writeChartText(draft), "", 1, chart);
    return chart;
}

MidiSong readBytes(const std::string &bytes)
{
    MidiSong song;
    std::string why;
    EXPECT_TRUE(readMidi(bytes, song, why)) << why;
    return song;
}

} // namespace

TEST(MidiImport, EveryNoteFollowsTheTempoMapWithinTwoMs)
{
    // Tempo changes on a bar line, inside a beat and at odd ticks; notes on odd ticks too.
    const std::vector<std::pair<long, long>> tempos = {
        {0, 500000}, {1920, 400000}, {2500, 750000}, {4001, 333333}, {9000, 612345}};
    Melody melody;
    for (long tick = 0, i = 0; tick < 30000; tick += 90 + (i * 37) % 300, i++) {
        melody.ticks.push_back(tick + (i % 5 == 0 ? 7 : 0));
        melody.keys.push_back(60 + static_cast<int>((i * 5) % 24));
    }
    std::vector<Event> conductor = {trackName("Tempo")};
    for (const auto &change : tempos)
        conductor.push_back(tempo(change.first, change.second));
    for (int format : {1, 0}) {
        SCOPED_TRACE(format);
        std::vector<Event> lead = melodyEvents(melody);
        std::string bytes;
        if (format == 1) {
            bytes = midiFile(1, 480, {track(conductor), track(lead)});
        } else {
            lead.insert(lead.end(), conductor.begin(), conductor.end());
            bytes = midiFile(0, 480, {track(lead)});
        }
        const MidiSong song = readBytes(bytes);
        int shift = 99;
        const Chart chart = chartOf(song, melodyTrackIndex(song), shift);
        ASSERT_EQ(chart.noteCount, melody.ticks.size());
        for (size_t i = 0; i < melody.ticks.size(); i++) {
            const double parsed = static_cast<int32_t>(chart.notes[i].timeMs);
            ASSERT_LE(std::fabs(parsed - expectedMs(tempos, melody.ticks[i])), 2.0) << "note " << i;
            ASSERT_EQ(chart.notes[i].pitch, melody.keys[i] - 72 + 12 * shift) << "note " << i;
        }
    }
}

TEST(MidiImport, TimeCodeDivisionsRunAtTheirFrameRates)
{
    // 0xE3 is -29: drop-frame time code, whose frames pass at 30000/1001 a second.
    const struct {
        int division;
        double msPerTick;
    } cases[] = {{0xE728, 1000.0 / (25 * 40)}, {0xE850, 1000.0 / (24 * 80)}, {0xE304, 1001.0 / (30 * 4)}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.division);
        const MidiSong song = readBytes(
            midiFile(0, c.division, {track(melodyEvents({{0, 1000, 30000}, {60, 62, 64}}))}));
        EXPECT_NEAR(midiTickMs(song, 30000), 30000 * c.msPerTick, 1e-6);
    }
}

TEST(MidiImport, TheMelodyTrackIsNamedOrTheFullestSingleLine)
{
    Melody chords, line, few;
    for (long i = 0; i < 10; i++)
        chords.ticks.push_back(i * 480);
    for (long i = 0; i < 15; i++)
        line.ticks.push_back(i * 240);
    for (long i = 0; i < 5; i++)
        few.ticks.push_back(i * 960);
    chords.keys.assign(10, 60);
    line.keys.assign(15, 67);
    few.keys.assign(5, 72);
    std::vector<Event> chordEvents = melodyEvents(chords);
    for (long tick : chords.ticks) { // two more notes a chord: 30 notes, 10 once overlaps go
        for (int key : {64, 67}) {
            chordEvents.push_back(noteOn(tick, 1, key));
            chordEvents.push_back(noteOff(tick + 400, 1, key));
        }
    }
    std::vector<Event> drums;
    for (long i = 0; i < 40; i++)
        drums.push_back(noteOn(i * 120, 9, 36));
    const std::vector<std::string> plain = {track({trackName("Piano")}), track(chordEvents), track(melodyEvents(line)),
                                            track(drums), track(melodyEvents(few))};
    EXPECT_EQ(melodyTrackIndex(readBytes(midiFile(1, 480, plain))), 2);

    std::vector<Event> named = melodyEvents(few);
    named.push_back(trackName("Lead VOX"));
    std::vector<std::string> withLead = plain;
    withLead[4] = track(named);
    EXPECT_EQ(melodyTrackIndex(readBytes(midiFile(1, 480, withLead))), 4);
}

TEST(MidiImport, OverlapsKeepTheHigherNoteAndLegatoSlides)
{
    // 120 BPM: 480 ticks are 500 ms, 10 ticks about 10 ms.
    const std::vector<Event> events = {
        noteOn(0, 0, 60),     noteOff(480, 0, 60),                        // slides into the next (starts 10 ms early)
        noteOn(470, 0, 62),   noteOff(900, 0, 62),                        // 100 ms gap: no slide
        noteOn(1000, 0, 64),  noteOn(1010, 0, 69),  noteOff(1400, 0, 64), // 69 wins the near-chord
        noteOff(1400, 0, 69), noteOn(1440, 0, 72),  noteOff(2400, 0, 72), // long 72 ...
        noteOn(1680, 0, 65),  noteOff(1900, 0, 65),                       // ... under which 65 is dropped
        noteOn(2400, 1, 67),  noteOff(2900, 1, 67),                       // legato, other channel: no slide
    };
    const MidiSong song = readBytes(midiFile(0, 480, {track(events)}));
    const std::vector<MelodyLineNote> line = melodyLine(song, song.tracks[0]);
    ASSERT_EQ(line.size(), 5u);
    const int keys[] = {60, 62, 69, 72, 67};
    const bool linked[] = {true, false, false, false, false};
    for (size_t i = 0; i < 5; i++) {
        EXPECT_EQ(line[i].key, keys[i]) << i;
        EXPECT_EQ(line[i].linked, linked[i]) << i;
    }
}

TEST(MidiImport, BrokenFilesSayWhy)
{
    const std::string good = midiFile(0, 480, {track(melodyEvents({{0, 480}, {60, 62}}))});
    const struct {
        std::string bytes;
        const char *reason;
    } cases[] = {
        {"RIFF....", "not a standard MIDI file"},
        {midiFile(2, 480, {}), "MIDI type 2 (only types 0 and 1 are read)"},
        {good.substr(0, good.size() - 6), "a track runs past the end of the file"},
        // Time code divisions: a rate no time code has, and no ticks in a frame.
        {midiFile(0, 0xC308, {}), "a time division of 61 frames a second and 8 ticks a frame"},
        {midiFile(0, 0xE700, {}), "a time division of 25 frames a second and 0 ticks a frame"},
    };
    for (const auto &c : cases) {
        MidiSong song;
        std::string why;
        EXPECT_FALSE(readMidi(c.bytes, song, why));
        EXPECT_EQ(why, c.reason);
    }
}

TEST(MidiImport, MusicIsTheSameNamedFileElseRenderedFromTheOtherTracks)
{
    ScratchFolder folder;
    Melody melody{{0, 480, 960, 1440}, {72, 74, 76, 77}};
    std::vector<Event> bass = {noteOn(0, 1, 36), noteOff(1900, 1, 36)};
    std::vector<Event> drums = {noteOn(0, 9, 36), noteOn(480, 9, 38), noteOn(960, 9, 42)};
    const std::string bytes = midiFile(1, 480, {track(melodyEvents(melody)), track(bass), track(drums)});
    folder.write("in/with.mid", bytes);
    ASSERT_TRUE(writeTone(folder.file("in/with.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 22050, 1, 3.0));
    folder.write("in/without.mid", bytes);

    ImportOptions options;
    options.sources = {folder.file("in")};
    options.into = folder.file("songs");
    ImportSummary summary;
    EXPECT_EQ(runImport(options, summary), 0);
    EXPECT_EQ(summary.imported, 2);
    const struct {
        const char *folder;
        int rate;
        int channels;
        double seconds;
    } cases[] = {{"with", 22050, 1, 3.0}, {"without", 44100, 2, 4.0}}; // 2 s of notes, then 2 s of ring-out
    for (const auto &c : cases) {
        SCOPED_TRACE(c.folder);
        SF_INFO info{};
        SNDFILE *file = sf_open(folder.file(std::string("songs/") + c.folder + "/music.ogg").c_str(), SFM_READ, &info);
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(info.samplerate, c.rate);
        EXPECT_EQ(info.channels, c.channels);
        EXPECT_NEAR(static_cast<double>(info.frames) / info.samplerate, c.seconds, 0.1);
        sf_close(file);
        Chart chart;
        ASSERT_TRUE(parseChartFile(folder.file(std::string("songs/") + c.folder + "/chart.txt"), folder.file("songs"),
                                   1, chart));
        EXPECT_EQ(chart.noteCount, 4);
    }

    // --track picks another track: the bass line, whose one note becomes the chart.
    options.sources = {folder.file("in/without.mid")};
    options.track = 2;
    EXPECT_EQ(runImport(options, summary), 0);
    EXPECT_EQ(summary.imported, 1);
    Chart chart;
    ASSERT_TRUE(parseChartFile(folder.file("songs/without (2)/chart.txt"), folder.file("songs"), 1, chart));
    EXPECT_EQ(chart.noteCount, 1);
}
