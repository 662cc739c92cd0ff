// The demo songs the build generated into data/: the song list, the charts as the game parses them,
// and the music as the game decodes it.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>
#include <vorbis/vorbisfile.h>

#include "app/app_context.h"
#include "chart_writer.h"
#include "demo_sheets.h"
#include "library/chart_parser.h"
#include "library/song_list.h"
#include "melody.h"
#include "ogg_writer.h"
#include "song_stems.h"
#include "song_timing.h"

namespace {

const std::string DataDir = std::string(LUMATIDE_BUILD_DIR) + "/data";

std::string readFile(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

struct DecodedMusic {
    bool opened = false;
    int channels = 0;
    long rate = 0;
    int64_t frames = 0;
    bool readError = false;
};

DecodedMusic decodeMusic(const std::string &path)
{
    DecodedMusic music;
    OggVorbis_File file;
    if (ov_fopen(path.c_str(), &file) != 0)
        return music;
    music.opened = true;
    const vorbis_info *info = ov_info(&file, -1);
    music.channels = info->channels;
    music.rate = info->rate;
    char pcm[8192];
    int section = 0;
    for (long got; (got = ov_read(&file, pcm, sizeof pcm, 0, 2, 1, &section)) != 0;) {
        if (got < 0) {
            music.readError = true;
            break;
        }
        music.frames += got / (2 * music.channels);
    }
    ov_clear(&file);
    return music;
}

bool isJapaneseUtf8(const std::string &text)
{
    // Three-byte UTF-8 sequences of the kana and CJK blocks start with E3..E9.
    for (size_t i = 0; i + 2 < text.size(); ++i) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const unsigned char second = static_cast<unsigned char>(text[i + 1]);
        const unsigned char third = static_cast<unsigned char>(text[i + 2]);
        if (lead >= 0xE3 && lead <= 0xE9 && (second & 0xC0) == 0x80 && (third & 0xC0) == 0x80)
            return true;
    }
    return false;
}

} // namespace

TEST(DemoSongFiles, TheGameReadsTheSongListAsComposed)
{
    const std::vector<SongSheet> sheets = demoSongSheets();
    Catalogue catalogue;
    readSongList(DataDir, catalogue);
    ASSERT_EQ(catalogue.songCount, sheets.size());
    for (size_t i = 0; i < sheets.size(); ++i) {
        EXPECT_EQ(catalogue.songs[i].fileName, sheets[i].stem + ".txt");
        EXPECT_EQ(catalogue.songs[i].title, sheets[i].title);
        EXPECT_EQ(catalogue.songs[i].level, sheets[i].level);
        EXPECT_EQ(readFile(DataDir + "/" + sheets[i].stem + ".txt"), chartText(sheets[i]))
            << sheets[i].stem << " is stale";
    }
    // After a stage that unlocks the extra song the select screen starts on the last entry.
    EXPECT_EQ(sheets.back().level, 7);
}

TEST(DemoSongFiles, EveryChartParsesCleanAndFitsItsMusic)
{
    for (const SongSheet &sheet : demoSongSheets()) {
        SCOPED_TRACE(sheet.stem);
        Chart chart;
        ChartReport report;
        ASSERT_TRUE(parseChartFile(DataDir + "/" + sheet.stem + ".txt", DataDir, 1, chart, &report));
        for (const ChartFinding &finding : report.findings)
            ADD_FAILURE() << "line " << finding.line << ": " << finding.message;
        ASSERT_GT(chart.noteCount, 0);
        ASSERT_GE(chart.measureCount, 2);

        // Decoded to the frame the synthesizer rendered: the song clock and the music agree.
        const DecodedMusic music = decodeMusic(DataDir + "/" + report.waveValue);
        ASSERT_TRUE(music.opened);
        EXPECT_FALSE(music.readError);
        EXPECT_EQ(music.channels, 2);
        EXPECT_EQ(music.rate, 44100);
        EXPECT_EQ(music.frames, static_cast<int64_t>(songFrames(sheet)));
        const double musicMs = 1000.0 * static_cast<double>(music.frames) / 44100.0;
        EXPECT_GE(musicMs, 45000.0);
        EXPECT_LE(musicMs, 90000.0);

        // Backing leads in for at least a measure, and the last note is heard well before the end.
        EXPECT_GE(chart.notes[0].timeMs, chart.measureTimes[1]);
        EXPECT_LT(chart.notes[chart.noteCount - 1].timeMs + 1000.0, musicMs);
        for (size_t i = 0; i < chart.noteCount; ++i)
            EXPECT_EQ(chart.notes[i].octaveShift, 0) << "note " << i << " is folded";
    }
}

TEST(DemoSongFiles, SongsCoverTheLevelsAndFeatures)
{
    std::set<int> levels;
    bool slides = false;
    bool ghosts = false;
    bool meterChange = false;
    bool japaneseTitle = false;
    double slowest = 1e9;
    double fastest = 0.0;
    for (const SongSheet &sheet : demoSongSheets()) {
        levels.insert(sheet.level);
        slowest = std::min(slowest, sheet.bpm);
        fastest = std::max(fastest, sheet.bpm);
        japaneseTitle = japaneseTitle || isJapaneseUtf8(sheet.title);
        const std::string text = readFile(DataDir + "/" + sheet.stem + ".txt");
        meterChange = meterChange || text.find("\n#MEASURE 3/4\n") != std::string::npos;
        for (const MelodyNote &note : melodyNotes(sheet, measureSpans(sheet))) {
            slides = slides || note.linked;
            ghosts = ghosts || note.ghost;
        }
    }
    EXPECT_EQ(levels, (std::set<int>{1, 3, 5, 7}));
    EXPECT_TRUE(slides);
    EXPECT_TRUE(ghosts);
    EXPECT_TRUE(meterChange);
    EXPECT_TRUE(japaneseTitle);
    EXPECT_LE(slowest, 95.0);
    EXPECT_GE(fastest, 165.0);
}

// The chart is exactly the guide melody: the game's parser finds the sheet's notes at the times the
// music plays them.
TEST(DemoSongFiles, ChartNotesAreTheGuideMelody)
{
    for (const SongSheet &sheet : demoSongSheets()) {
        SCOPED_TRACE(sheet.stem);
        Chart chart;
        parseChartText(chartText(sheet), DataDir, static_cast<uint16_t>(sheet.level), chart);
        const std::vector<MeasureSpan> spans = measureSpans(sheet);
        const std::vector<MelodyNote> melody = melodyNotes(sheet, spans);
        ASSERT_EQ(chart.noteCount, melody.size());
        ASSERT_EQ(chart.measureCount, spans.size());
        for (size_t m = 0; m < spans.size(); ++m)
            EXPECT_EQ(chart.measureTimes[m], spans[m].startMs) << "measure " << m;
        for (size_t i = 0; i < melody.size(); ++i) {
            EXPECT_NEAR(chart.notes[i].timeMs, melody[i].startMs, 1.0) << "note " << i;
            EXPECT_EQ(chart.notes[i].pitch, melody[i].pitch) << "note " << i;
            EXPECT_EQ(chart.notes[i].linked != 0, melody[i].linked) << "note " << i;
            EXPECT_EQ(chart.notes[i].ghost != 0, melody[i].ghost) << "note " << i;
        }
    }
}

TEST(DemoSongFiles, EncodingTheSameMusicTwiceGivesTheSameBytes)
{
    StereoBuffer music = silentBuffer(44100);
    for (size_t i = 0; i < music.left.size(); ++i) {
        music.left[i] = static_cast<float>(0.3 * std::sin(2.0 * M_PI * 440.0 * i / 44100.0));
        music.right[i] = static_cast<float>(0.3 * std::sin(2.0 * M_PI * 660.0 * i / 44100.0));
    }
    const std::string first = testing::TempDir() + "demo_first.ogg";
    const std::string second = testing::TempDir() + "demo_second.ogg";
    ASSERT_TRUE(writeOggVorbis(first, music, 0.35f, 7));
    ASSERT_TRUE(writeOggVorbis(second, music, 0.35f, 7));
    const std::string bytes = readFile(first);
    EXPECT_GT(bytes.size(), 1000u);
    EXPECT_EQ(bytes, readFile(second));
    EXPECT_EQ(decodeMusic(first).frames, 44100);
    EXPECT_FALSE(writeOggVorbis(testing::TempDir() + "no/such/folder/x.ogg", music, 0.35f, 7));
}
