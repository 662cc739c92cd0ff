#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "app/app_context.h"
#include "game/song_chart.h"
#include "library/file_lookup.h"
#include "library/song_list.h"
#include "platform/paths.h"
#include "support/scratch_folder.h"

namespace {

// Trace lines are switched on before the first one is written.
const bool traceOn = setenv("LUMATIDE_TRACE", "1", 1) == 0;

std::vector<std::string> linesOf(const std::string &text)
{
    std::vector<std::string> lines;
    for (size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
        lines.push_back(text.substr(at, end - at));
    return lines;
}

} // namespace

// The player's list comes after the bundled one; its charts are found from its own folder.
TEST(PlayersSongs, FollowTheBundledListAndAreNamedFromTheirOwnFolder)
{
    ScratchFolder bundled, mine;
    bundled.write("songlist.txt", "demo.txt\n");
    bundled.write("demo.txt", "TITLE:Demo\nLEVEL:2\n");
    mine.write("songlist.txt", "Pack\\Mine.txt\n# not a chart\nsecond.txt\n");
    mine.write("pack/mine.txt", "TITLE:Mine\nLEVEL:4\n");
    mine.write("second.txt", "TITLE:Second\n");
    Catalogue catalogue;
    readSongList(bundled.path, catalogue);
    testing::internal::CaptureStderr();
    addPlayersSongList(mine.path, catalogue);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_EQ(catalogue.songCount, 3);
    ASSERT_EQ(catalogue.titleTextures.size(), 3u);
    const struct {
        const char *fileName, *title;
        uint16_t level;
        bool playersOwn;
    } expected[] = {{"demo.txt", "Demo", 2, false},
                    {"Pack\\Mine.txt", "Mine", 4, true},
                    {"second.txt", "Second", 1, true}};
    for (size_t i = 0; i < 3; i++) {
        SCOPED_TRACE(i);
        EXPECT_EQ(catalogue.songs[i].fileName, expected[i].fileName);
        EXPECT_EQ(catalogue.songs[i].title, expected[i].title);
        EXPECT_EQ(catalogue.titleTextures[i].text, expected[i].title);
        EXPECT_EQ(catalogue.songs[i].level, expected[i].level);
        EXPECT_EQ(catalogue.songs[i].playersOwn, expected[i].playersOwn);
    }
}

// No list of one's own is the usual case and says nothing; a list that gives nothing says why.
TEST(PlayersSongs, AListThatGivesNothingSaysSoOnce)
{
    const struct {
        const char *name;
        void (*make)(const ScratchFolder &);
        const char *message; // empty: nothing said
    } cases[] = {
        {"no folder", [](const ScratchFolder &) {}, ""},
        {"no list", [](const ScratchFolder &mine) { mine.write("other.txt", ""); }, ""},
        {"empty list", [](const ScratchFolder &mine) { mine.write("songlist.txt", ""); }, ": empty; "},
        {"no chart line", [](const ScratchFolder &mine) { mine.write("songlist.txt", "song.ogg\n"); },
         ": names no chart file; "},
        {"a folder in its place",
         [](const ScratchFolder &mine) { std::filesystem::create_directories(mine.file("songlist.txt")); },
         "; your own songs are not listed"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder bundled, mine;
        bundled.write("songlist.txt", "demo.txt\n");
        c.make(mine);
        Catalogue catalogue;
        readSongList(bundled.path, catalogue);
        testing::internal::CaptureStderr();
        addPlayersSongList(std::string(c.name) == "no folder" ? mine.file("gone") : mine.path, catalogue);
        const std::vector<std::string> messages = linesOf(testing::internal::GetCapturedStderr());
        EXPECT_EQ(catalogue.songCount, 1);
        if (c.message[0] == '\0') {
            EXPECT_TRUE(messages.empty()) << messages[0];
            continue;
        }
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].rfind("lumatide: " + mine.file("songlist.txt"), 0), 0u) << messages[0];
        EXPECT_NE(messages[0].find(c.message), std::string::npos) << messages[0];
    }
}

// Start-up as the game does it, beside this test executable: both lists in the catalogue, and a
// song of one's own started from its folder with its music beside it.
TEST(PlayersSongs, StartUpListsThemAndPlaysThemFromTheirFolder)
{
    ASSERT_TRUE(traceOn);
    if (std::getenv("LUMATIDE_HOME") != nullptr)
        GTEST_SKIP() << "LUMATIDE_HOME pins the folders";
    const std::string data = dataDirectory(), songs = userSongsDirectory();
    std::filesystem::remove_all(data);
    std::filesystem::remove_all(songs);
    std::filesystem::create_directories(data);
    std::filesystem::create_directories(songs + "/mine");
    writeWholeFile(data + "/songlist.txt", "demo.txt\n");
    writeWholeFile(data + "/demo.txt", "TITLE:Demo\nWAVE:demo.ogg\nBPM:120\n#START\n4c ,\n#END\n");
    writeWholeFile(songs + "/songlist.txt", "mine/song.txt\n");
    writeWholeFile(songs + "/mine/song.txt", "TITLE:Mine\nWAVE:mine/song.ogg\nBPM:120\n#START\n4c 4d ,\n#END\n");

    resetAppContext();
    testing::internal::CaptureStderr();
    loadSongList();
    menu.selectedSong = 1;
    std::string chartPath;
    const bool read = parseChart(&chartPath);
    const std::string traces = testing::internal::GetCapturedStderr();

    EXPECT_NE(traces.find(" catalogue 2\n"), std::string::npos) << traces;
    EXPECT_TRUE(read) << traces;
    EXPECT_EQ(chartPath, songs + "/mine/song.txt");
    EXPECT_EQ(chart.noteCount, 2);
    EXPECT_EQ(chart.musicPath, songs + "/mine/song.ogg");

    menu.selectedSong = 0;
    parseChart(&chartPath);
    EXPECT_EQ(chartPath, data + "/demo.txt");
    std::filesystem::remove_all(songs);
}
