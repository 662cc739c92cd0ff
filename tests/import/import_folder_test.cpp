#include <gtest/gtest.h>

#include <sndfile.h>

#include <algorithm>
#include <sstream>

#include "audio_conversion.h"
#include "import_run.h"
#include "import_support.h"
#include "library/catalogue.h"
#include "library/chart_parser.h"
#include "library/file_lookup.h"
#include "library/song_list.h"
#include "support/scratch_folder.h"

namespace {

std::vector<std::string> linesOf(const std::string &text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

// The report's lines about songs that were not imported, as "<kind> <file>".
std::vector<std::string> notImported(const std::string &report)
{
    std::vector<std::string> out;
    for (const std::string &line : linesOf(report))
        if (line.rfind("imported ", 0) != 0)
            out.push_back(line.substr(0, line.find(": ")));
    std::sort(out.begin(), out.end());
    return out;
}

ImportSummary importInto(const std::vector<std::string> &sources, const std::string &into, bool force, int &status)
{
    ImportOptions options;
    options.sources = sources;
    options.into = into;
    options.force = force;
    ImportSummary summary;
    status = runImport(options, summary);
    return summary;
}

std::string songText(int n, bool withBpm, const std::string &music)
{
    std::vector<std::string> header = {"#TITLE:Song " + std::to_string(n), "#ARTIST:Band " + std::to_string(n % 7),
                                       "#MP3:" + music};
    if (withBpm)
        header.push_back("#BPM:" + std::to_string(200 + n));
    return ultraStarText(header, {{':', 0, n % 12, "a"}, {':', 4, 3, "b"}, {':', 9, 7, "c"}});
}

} // namespace

TEST(ImportFolder, FiftySongsWithThreeBrokenOnesAreReportedExactly)
{
    ScratchFolder folder;
    const int wav = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    for (int n = 0; n < 50; n++) {
        const std::string dir = "in/artist" + std::to_string(n % 5) + "/song" + std::to_string(n) + "/";
        folder.write(dir + "song.txt", songText(n, n != 7, "music.wav"));
        if (n == 41) {
            folder.write(dir + "music.wav", "this is no sound");
        } else if (n != 23) {
            ASSERT_TRUE(writeTone(folder.file(dir + "music.wav"), wav, 8000, 1, 0.1));
        }
    }
    folder.write("in/readme.txt", "Not a song.\n");
    const std::string into = folder.file("songs");

    int status = 0;
    ImportSummary first = importInto({folder.file("in")}, into, false, status);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(first.imported, 47);
    EXPECT_EQ(first.skipped, 2);
    EXPECT_EQ(first.failed, 1);
    const std::string in = folder.file("in");
    EXPECT_EQ(notImported(readWholeFile(into + "/import-report.txt")),
              (std::vector<std::string>{"failed " + in + "/artist2/song7/song.txt",
                                        "skipped " + in + "/artist1/song41/song.txt",
                                        "skipped " + in + "/artist3/song23/song.txt"}));
    const std::string list = readWholeFile(into + "/songlist.txt");
    EXPECT_EQ(linesOf(list).size(), 47u);

    // The game's catalogue reads the charts in their folders, and each chart finds its music.
    Catalogue songs;
    readSongList(into, songs);
    ASSERT_EQ(songs.songCount, 47);
    for (const SongEntry &entry : songs.songs) {
        Chart chart;
        ASSERT_TRUE(parseChartFile(findDataFile(into, entry.fileName), into, entry.level, chart)) << entry.fileName;
        EXPECT_EQ(chart.noteCount, 3) << entry.fileName;
        EXPECT_EQ(pathKind(chart.musicPath), PathKind::File) << entry.fileName;
        EXPECT_EQ(entry.title.rfind("Song ", 0), 0u) << entry.title;
    }

    // Again: everything already there is skipped and nothing is listed twice; --force redoes it.
    ImportSummary second = importInto({folder.file("in")}, into, false, status);
    EXPECT_EQ(second.imported, 0);
    EXPECT_EQ(second.skipped, 49);
    EXPECT_EQ(readWholeFile(into + "/songlist.txt"), list);
    ImportSummary forced = importInto({folder.file("in")}, into, true, status);
    EXPECT_EQ(forced.imported, 47);
    EXPECT_EQ(readWholeFile(into + "/songlist.txt"), list);
}

TEST(ImportFolder, SongsOfTheSameNameFromOtherFilesGetTheirOwnFolders)
{
    ScratchFolder folder;
    for (const char *dir : {"a", "b"}) {
        folder.write(std::string(dir) + "/s.txt", songText(1, true, "m.wav"));
        ASSERT_TRUE(
            writeTone(folder.file(std::string(dir) + "/m.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 8000, 2, 0.1));
    }
    folder.write("songs/songlist.txt", "old.txt"); // a list without a final line break
    int status = 0;
    ImportSummary summary = importInto({folder.file("a/s.txt"), folder.file("b/s.txt")}, folder.file("songs"), false,
                                       status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(summary.imported, 2);
    EXPECT_EQ(readWholeFile(folder.file("songs/songlist.txt")),
              "old.txt\nBand 1 - Song 1/chart.txt\nBand 1 - Song 1 (2)/chart.txt\n");
}

TEST(ImportAudio, MusicIsOggVorbisWithItsRateAndChannels)
{
    struct Case {
        const char *name;
        int format;
        int rate;
        int channels;
    };
    const Case cases[] = {
        {"tone.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 22050, 1},
        {"tone.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 48000, 2},
        {"tone.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 44100, 2},
        {"tone.opus", SF_FORMAT_OGG | SF_FORMAT_OPUS, 48000, 1},
        {"tone.m4a", 0, 44100, 2}, // AAC: libsndfile cannot write it either
    };
    ScratchFolder folder;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const bool made = c.format == 0 ? writeAacTone(folder.file(c.name), c.rate, c.channels, 1.0)
                                        : writeTone(folder.file(c.name), c.format, c.rate, c.channels, 1.0);
        if (!made) {
            ADD_FAILURE() << "libsndfile cannot write " << c.name << " here";
            continue;
        }
        std::string why;
        const std::string target = folder.file(std::string(c.name) + ".ogg");
        ASSERT_TRUE(convertMusic(folder.file(c.name), target, why)) << why;
        SF_INFO info{};
        SNDFILE *file = sf_open(target.c_str(), SFM_READ, &info);
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(info.format, SF_FORMAT_OGG | SF_FORMAT_VORBIS);
        EXPECT_EQ(info.samplerate, c.rate);
        EXPECT_EQ(info.channels, c.channels);
        EXPECT_NEAR(static_cast<double>(info.frames) / c.rate, 1.0, 0.05);
        sf_close(file);
    }
}

TEST(ImportAudio, OggVorbisIsCopiedUnchangedAndBadMusicIsRefused)
{
    ScratchFolder folder;
    ASSERT_TRUE(writeTone(folder.file("in.ogg"), SF_FORMAT_OGG | SF_FORMAT_VORBIS, 32000, 2, 0.5));
    std::string why;
    ASSERT_TRUE(convertMusic(folder.file("in.ogg"), folder.file("out.ogg"), why)) << why;
    EXPECT_EQ(readWholeFile(folder.file("out.ogg")), readWholeFile(folder.file("in.ogg")));

    folder.write("bad.mp3", std::string(4000, '\x55'));
    EXPECT_FALSE(convertMusic(folder.file("bad.mp3"), folder.file("bad.ogg"), why));
    EXPECT_FALSE(why.empty());
    EXPECT_FALSE(convertMusic(folder.file("missing.flac"), folder.file("missing.ogg"), why));
}
