#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "game/song_start.h"
#include "library/chart_parser.h"
#include "library/file_lookup.h"
#include "platform/fake/fake_platform.h"

TEST(SongStart, SilentLengthRunsToTheNextMeasurePlusASecond)
{
    struct Case {
        const char *name;
        const char *body;
        const char *offset;
        uint32_t lengthMs;
    };
    const Case cases[] = {
        {"two 4/4 measures", "4c 4e ,\n4g ,\n", "0", 2000 + 2000 + 1000},
        {"last measure in 3/4", "4c ,\n#MEASURE 3/4\n4c 4d 4e ,\n", "0.5", 500 + 2000 + 1500 + 1000},
        {"empty measures count", "4c ,\n,\n,\n", "0", 3 * 2000 + 1000},
        {"no measures", "", "0", 1000},
        {"first measure before clock zero", "4c ,\n", "-1.5", 500 + 1000},
    };
    for (const Case &c : cases) {
        Chart chart;
        const std::string text = std::string("BPM:120\nWAVE:x.ogg\nOFFSET:") + c.offset + "\n#START\n" + c.body +
                                 "#END\n";
        parseChartText(text, "/nonexistent", 1, chart);
        EXPECT_EQ(silentSongLengthMs(chart), c.lengthMs) << c.name;
    }
    // A tempo near zero or a huge #MEASURE makes a measure longer than the clock can count: the
    // song then runs as long as the clock goes.
    struct Extreme {
        const char *name;
        std::string header;
        std::string body;
    };
    const Extreme extremes[] = {
        {"tempo of 1e-300", "BPM:1e-300\n", "4c ,\n"},
        {"tempo of 1e-300, second measure", "BPM:1e-300\n", "4c ,\n4c ,\n"},
        {"#MEASURE of 10^23 whole notes", "BPM:120\n", "#MEASURE 1" + std::string(23, '0') + "/1\n4c ,\n"},
        {"#MEASURE of 10^300 whole notes", "BPM:120\n", "#MEASURE 1" + std::string(300, '0') + "/1\n4c ,\n"},
    };
    for (const Extreme &c : extremes) {
        Chart chart;
        parseChartText(c.header + "WAVE:x.ogg\n#START\n" + c.body + "#END\n", "/nonexistent", 1, chart);
        ASSERT_GT(chart.measureCount, 0) << c.name;
        EXPECT_EQ(silentSongLengthMs(chart), UINT32_MAX) << c.name;
    }
    Chart noTempo;
    parseChartText("WAVE:x.ogg\n#START\n4c ,\n#END\n", "/nonexistent", 1, noTempo);
    EXPECT_EQ(silentSongLengthMs(noTempo), 1000u) << "a chart without a tempo is empty";
}

// A song that cannot be played as written starts all the same, and stderr says why in one line
// per reason, naming the chart.
TEST(SongStart, ChartsWithoutMusicOrTempoAreNamed)
{
    const std::string dataDir = dataDirectory();
    mkdir(dataDir.c_str(), 0755);
    const std::string musicFile = dataDir + "/start_music.ogg";
    struct Case {
        const char *name;
        std::string header;
        std::vector<std::string> lines; // {chart} stands for the chart's path
        bool chartIsFolder = false;
    };
    const std::string noMusic = "cannot play its music \"" + musicFile +
                                "\" (No such file or directory); the song runs without it";
    const std::string folderMusic = "cannot play its music \"" + dataDir +
                                    "/start_folder.ogg\" (not a regular file (a folder)); "
                                    "the song runs without it";
    const Case cases[] = {
        {"music missing", "WAVE:start_music.ogg\nBPM:120\n", {noMusic}},
        {"no WAVE line", "BPM:120\n", {"no WAVE line names its music; the song runs without it"}},
        {"music is a folder", "WAVE:start_folder.ogg\nBPM:120\n", {folderMusic}},
        {"chart is a folder", "", {"not a regular file (a folder); the song has no notes"}, true},
        {"BPM 0", "WAVE:start_music.ogg\nBPM:0\n", {"no usable BPM (0); the song has no notes", noMusic}},
        {"no BPM line", "WAVE:start_music.ogg\n", {"no usable BPM (0); the song has no notes", noMusic}},
        {"negative BPM", "WAVE:start_music.ogg\nBPM:-120\n", {"no usable BPM (-120); the song has no notes", noMusic}},
        {"infinite BPM", "WAVE:start_music.ogg\nBPM:1e999\n", {"no usable BPM (inf); the song has no notes", noMusic}},
        {"BPM not a number",
         "WAVE:start_music.ogg\nBPM:nan\n",
         {"no usable BPM (nan); the song has no notes", noMusic}},
    };
    mkdir((dataDir + "/start_folder.ogg").c_str(), 0755);
    for (const Case &c : cases) {
        resetAppContext();
        fakeResetPlatform();
        const std::string fileName = "start_messages.txt";
        const std::string chartPath = dataDir + "/" + fileName;
        if (c.chartIsFolder)
            mkdir(chartPath.c_str(), 0755);
        else
            std::ofstream(chartPath) << c.header << "#START\n4c 4e ,\n#END\n";
        SongEntry entry;
        entry.fileName = fileName;
        entry.level = 1;
        catalogue.songs = {entry};
        catalogue.songCount = 1;

        testing::internal::CaptureStderr();
        startSong(false);
        std::istringstream captured(testing::internal::GetCapturedStderr());
        music.close();
        std::string messages;
        for (std::string line; std::getline(captured, line);)
            if (line.rfind("lumatide: ", 0) == 0) // not the trace, when it is on
                messages += line + "\n";

        std::string expected;
        for (const std::string &line : c.lines)
            expected += "lumatide: " + chartPath + ": " + line + "\n";
        EXPECT_EQ(messages, expected) << c.name;
        EXPECT_EQ(menu.state.load(), Play) << c.name << ": the song starts all the same";
        std::remove(chartPath.c_str());
    }
    rmdir((dataDir + "/start_folder.ogg").c_str());
}
