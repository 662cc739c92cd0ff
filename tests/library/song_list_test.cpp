#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "app/app_context.h"
#include "library/chart_parser.h"
#include "library/file_lookup.h"
#include "library/song_list.h"
#include "support/no_wait.h"
#include "support/scratch_folder.h"

using namespace std::string_literals;

TEST(SongList, ChartLines)
{
    struct Case {
        const char *line;
        bool chart;
    } cases[] = {
        {"song1.txt", true},     {"song1.TXT", false}, {"my.song.txt", false},
        {"song1.txt.old", true}, {"song1.txts", true}, {"", false},
        {"# comment", false},    {".txt", true},       {"song1.tx", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(isChartLine(c.line), c.chart) << c.line;
}

TEST(SongList, BuildsTheCatalogueInListOrder)
{
    ScratchFolder data;
    data.write("songlist.txt",
               "a.txt\r\n# comment\r\n\r\nb.TXT\r\nx.y.txt\r\nc.txt.bak\r\nb.txt\r\na.txt\r\nmissing.txt");
    data.write("a.txt", "TITLE:Song A\nLEVEL: 5\n#START\n4c ,\nTITLE:Song B\n");
    data.write("b.txt", "TITLE: Song\nLEVEL:x\n");
    data.write("c.txt.bak", "LEVEL:7\nLEVEL:3\n");
    Catalogue catalogue;
    readSongList(data.path, catalogue);
    ASSERT_EQ(catalogue.songCount, 5);
    ASSERT_EQ(catalogue.songs.size(), 5u);
    ASSERT_EQ(catalogue.titleTextures.size(), 5u);
    struct Expected {
        const char *fileName;
        const char *title;
        uint16_t level;
        const char *text;
        int fontSize;
    } expected[] = {
        {"a.txt", "Song B", 5, "Song B", 18}, {"c.txt.bak", "", 3, "test", 12},   {"b.txt", " Song", 1, " Song", 18},
        {"a.txt", "Song B", 5, "Song B", 18}, {"missing.txt", "", 1, "test", 12},
    };
    for (size_t i = 0; i < 5; i++) {
        SCOPED_TRACE(i);
        EXPECT_EQ(catalogue.songs[i].fileName, expected[i].fileName);
        EXPECT_EQ(catalogue.songs[i].title, expected[i].title);
        EXPECT_EQ(catalogue.songs[i].level, expected[i].level);
        EXPECT_EQ(catalogue.songs[i].played, 0);
        EXPECT_EQ(catalogue.titleTextures[i].text, expected[i].text);
        EXPECT_EQ(catalogue.titleTextures[i].fontSize, expected[i].fontSize);
    }
}

TEST(SongList, MissingListGivesAnEmptyCatalogue)
{
    ScratchFolder data;
    Catalogue catalogue;
    catalogue.songs.resize(3);
    catalogue.songCount = 3;
    readSongList(data.path, catalogue);
    EXPECT_EQ(catalogue.songCount, 0);
    EXPECT_TRUE(catalogue.songs.empty());
    EXPECT_TRUE(catalogue.titleTextures.empty());
}

// The song list and the charts are read in 511-byte pieces: a longer line counts as several lines.
TEST(SongList, LongLinesAreReadIn511BytePieces)
{
    ScratchFolder data;
    const std::string name507 = std::string(507, 'n');
    // Piece one ends in ".txt" and names a chart; piece two, "zz", names none.
    // A 511-byte comment line leaves only its LF; a 516-byte one gives "c.txt" as a line of its own.
    data.write("songlist.txt", name507 + ".txtzz\n" + std::string(511, '#') + "\n" + std::string(511, '#') + "c.txt\n");
    // A title of 400 bytes fits a piece and is kept whole; one of 600 is cut to its first piece.
    data.write("c.txt", "TITLE:" + std::string(600, 'T') + "\nLEVEL:4\n");
    data.write("d.txt", "TITLE:" + std::string(400, 'D') + "\n");
    Catalogue catalogue;
    readSongList(data.path, catalogue);
    ASSERT_EQ(catalogue.songCount, 2);
    EXPECT_EQ(catalogue.songs[0].fileName, name507 + ".txt");
    EXPECT_EQ(catalogue.songs[0].title, "");
    EXPECT_EQ(catalogue.songs[1].fileName, "c.txt");
    EXPECT_EQ(catalogue.songs[1].title, std::string(505, 'T'));
    EXPECT_EQ(catalogue.titleTextures[1].text, std::string(505, 'T'));
    EXPECT_EQ(catalogue.songs[1].level, 4);

    data.write("songlist.txt", "d.txt\n");
    readSongList(data.path, catalogue);
    ASSERT_EQ(catalogue.songCount, 1);
    EXPECT_EQ(catalogue.songs[0].title, std::string(400, 'D'));
}

// A text-mode read leaves CR CR LF as CR LF, which goes as the line end; a line ends at a NUL byte.
TEST(SongList, LineEndsAndNulBytes)
{
    ScratchFolder data;
    data.write("songlist.txt", "a.txt\r\r\nb\0.txt\nc.txt\0.bak\r\n"s);
    data.write("a.txt", "TITLE:Song A\r\r\nLEVEL:3\r\r\n");
    data.write("b", "TITLE:Not listed\n");
    data.write("c.txt",
               "TITLE:Cee\0junk\nLEVEL:\0"
               "5\n"s);
    Catalogue catalogue;
    readSongList(data.path, catalogue);
    ASSERT_EQ(catalogue.songCount, 2);
    EXPECT_EQ(catalogue.songs[0].fileName, "a.txt");
    EXPECT_EQ(catalogue.songs[0].title, "Song A");
    EXPECT_EQ(catalogue.songs[0].level, 3);
    EXPECT_EQ(catalogue.songs[1].fileName, "c.txt");
    EXPECT_EQ(catalogue.songs[1].title, "Cee");
    EXPECT_EQ(catalogue.songs[1].level, 1);
}

TEST(FileLookup, FindsWindowsNamesInLinuxFolders)
{
    ScratchFolder data;
    data.write("Pack/Song.txt", "x");
    data.write("\xe8\xa1\xa8/a.txt", "x"); // a folder named in UTF-8
    data.write("raw\\name.txt", "x");      // a Linux name that holds a backslash
    struct Case {
        std::string name;
        std::string found;
    } cases[] = {
        {"Pack/Song.txt", "Pack/Song.txt"},        {"Pack\\Song.txt", "Pack/Song.txt"},
        {"PACK\\song.TXT", "Pack/Song.txt"},       {"pack/missing.txt", "pack/missing.txt"},
        {"\x95\x5c\\a.txt", "\xe8\xa1\xa8/a.txt"}, // CP932 bytes whose trail byte is a backslash
        {"raw\\name.txt", "raw\\name.txt"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(findDataFile(data.path, c.name), data.path + "/" + c.found) << c.name;
}

TEST(FileLookup, Utf8Validity)
{
    EXPECT_TRUE(isValidUtf8("plain"));
    EXPECT_TRUE(isValidUtf8("\xe8\xa1\xa8"));
    EXPECT_FALSE(isValidUtf8("\x95\x5c"));
    EXPECT_FALSE(isValidUtf8("\xc0\xaf"));     // overlong
    EXPECT_FALSE(isValidUtf8("\xed\xa0\x80")); // surrogate
    EXPECT_FALSE(isValidUtf8("\xe8\xa1"));
}

TEST(SongList, ChartsAndMusicFromWindowsFoldersAreFound)
{
    ScratchFolder data;
    data.write("songlist.txt", "Pack\\SONG.txt\n");
    data.write("pack/song.txt", "TITLE:Found\nWAVE:PACK\\Music\\Song.OGG\nBPM:120\n#START\n4c ,\n");
    data.write("pack/music/song.ogg", "");
    Catalogue catalogue;
    readSongList(data.path, catalogue);
    ASSERT_EQ(catalogue.songCount, 1);
    EXPECT_EQ(catalogue.songs[0].fileName, "Pack\\SONG.txt");
    EXPECT_EQ(catalogue.songs[0].title, "Found");
    // The music is named relative to the data folder, whatever folder the chart is in.
    Chart chart;
    parseChartFile(findDataFile(data.path, "Pack\\SONG.txt"), data.path, 1, chart);
    EXPECT_EQ(chart.noteCount, 1);
    EXPECT_EQ(chart.musicPath, data.path + "/pack/music/song.ogg");
}

namespace {

struct ReadList {
    bool finished = false;
    Catalogue catalogue;
    std::vector<std::string> messages;
};

// Reads the song list, failing instead of waiting on any of the pipes; one message a line.
ReadList readListOf(const ScratchFolder &data, const std::vector<std::string> &pipes = {})
{
    ReadList read;
    testing::internal::CaptureStderr();
    read.finished = finishesWithoutWaiting([&] { readSongList(data.path, read.catalogue); }, pipes);
    const std::string text = testing::internal::GetCapturedStderr();
    for (size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
        read.messages.push_back(text.substr(at, end - at));
    return read;
}

bool contains(const std::string &text, const std::string &part) { return text.find(part) != std::string::npos; }

} // namespace

// An empty select screen says nothing by itself: one line names the list, says what is wrong
// with it and how songs are added. A pipe or a device in its place is never waited on nor read.
TEST(SongList, AListThatGivesNoSongsSaysSo)
{
    const struct {
        const char *name;
        std::function<void(const std::string &path)> make;
        const char *reason;
    } cases[] = {
        {"missing", [](const std::string &) {}, "No such file or directory"},
        {"empty", [](const std::string &path) { writeWholeFile(path, ""); }, "empty"},
        {"no chart line", [](const std::string &path) { writeWholeFile(path, "# songs\nsong.TXT\n"); },
         "names no chart file"},
        {"a named pipe", [](const std::string &path) { mkfifo(path.c_str(), 0600); },
         "not a regular file (a named pipe)"},
        {"a link to /dev/zero", [](const std::string &path) { std::filesystem::create_symlink("/dev/zero", path); },
         "not a regular file (a device)"},
        {"a folder", [](const std::string &path) { std::filesystem::create_directory(path); },
         "not a regular file (a folder)"},
        {"over 16 MB",
         [](const std::string &path) {
             writeWholeFile(path, "a.txt\n");
             std::filesystem::resize_file(path, (uintmax_t(16) << 20) + 1);
         },
         "16777217 bytes, larger than 16 MB"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder data;
        const std::string list = data.file("songlist.txt");
        c.make(list);
        const ReadList read = readListOf(data, {list});
        ASSERT_TRUE(read.finished);
        EXPECT_EQ(read.catalogue.songCount, 0);
        EXPECT_TRUE(read.catalogue.songs.empty());
        ASSERT_EQ(read.messages.size(), 1u);
        EXPECT_TRUE(contains(read.messages[0], "lumatide: " + list + ": " + c.reason)) << read.messages[0];
        EXPECT_TRUE(contains(read.messages[0], "one chart file name per line")) << read.messages[0];
    }
}

// A listed chart that cannot be read keeps its entry with the defaults, and one line names it.
TEST(SongList, EachChartThatCannotBeReadIsNamedOnce)
{
    ScratchFolder data;
    data.write("songlist.txt", "good.txt\nmissing.txt\npipe.txt\nzero.txt\nhuge.txt\nfolder.txt\n");
    data.write("good.txt", "TITLE:Good\nLEVEL:3\n");
    const std::string pipe = data.file("pipe.txt");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", data.file("zero.txt"));
    data.write("huge.txt", "TITLE:Huge\n");
    std::filesystem::resize_file(data.file("huge.txt"), (uintmax_t(16) << 20) + 1);
    std::filesystem::create_directory(data.file("folder.txt"));

    const ReadList read = readListOf(data, {pipe});
    ASSERT_TRUE(read.finished);
    ASSERT_EQ(read.catalogue.songCount, 6);
    EXPECT_EQ(read.catalogue.songs[0].title, "Good");
    EXPECT_EQ(read.catalogue.songs[0].level, 3);
    for (size_t i = 1; i < 6; i++) {
        SCOPED_TRACE(read.catalogue.songs[i].fileName);
        EXPECT_EQ(read.catalogue.songs[i].title, "");
        EXPECT_EQ(read.catalogue.songs[i].level, 1);
        EXPECT_EQ(read.catalogue.titleTextures[i].text, "test");
        EXPECT_EQ(read.catalogue.titleTextures[i].fontSize, 12);
    }
    const char *const reasons[] = {"missing.txt: No such file or directory",
                                   "pipe.txt: not a regular file (a named pipe)",
                                   "zero.txt: not a regular file (a device)",
                                   "huge.txt: 16777217 bytes, larger than 16 MB",
                                   "folder.txt: not a regular file (a folder)"};
    ASSERT_EQ(read.messages.size(), 5u);
    for (size_t i = 0; i < 5; i++)
        EXPECT_TRUE(contains(read.messages[i], "lumatide: " + data.path + "/" + reasons[i])) << read.messages[i];
}

// The song start reads the chart again; a pipe or a device there is not waited on nor read.
TEST(SongList, AChartThatIsNotAFileParsesAsEmptyAtOnce)
{
    ScratchFolder data;
    const std::string pipe = data.file("pipe.txt");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", data.file("zero.txt"));
    for (const std::string &path : {pipe, data.file("zero.txt")}) {
        SCOPED_TRACE(path);
        Chart chart;
        bool parsed = true;
        ASSERT_TRUE(finishesWithoutWaiting([&] { parsed = parseChartFile(path, data.path, 1, chart); }, {pipe}));
        EXPECT_FALSE(parsed);
        EXPECT_EQ(chart.noteCount, 0);
    }
}
