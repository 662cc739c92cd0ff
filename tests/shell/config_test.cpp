#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "app/config.h"
#include "platform/ini.h"
#include "support/no_wait.h"
#include "support/scratch_folder.h"

namespace fs = std::filesystem;

namespace {

// What stands at the path of conf.ini.
enum class Setup { Text, Folder, LinkToNothing };

struct ConfigCase {
    const char *name;
    const char *fileText;
    int expectedMs;
    bool expectsWarning;
    Setup setup = Setup::Text;
};

const ConfigCase configCases[] = {
    {"plain value", "[config]\nBufferLength=35\n", 35, false},
    {"other section only", "[audio]\nBufferLength=35\n", 20, false},
    {"key missing", "[config]\nOther=5\n", 20, false},
    {"empty file", "", 20, false},
    {"names in any case, blanks around", "[CONFIG]\n  bufferlength = 45 \n", 45, false},
    {"first of two sections", "[config]\nBufferLength=30\n[config]\nBufferLength=40\n", 30, false},
    {"key of a later section is not ours", "[config]\n[other]\nBufferLength=30\n", 20, false},
    {"smallest allowed", "[config]\nBufferLength=1\n", 1, false},
    {"largest allowed", "[config]\nBufferLength=1000\n", 1000, false},
    {"zero", "[config]\nBufferLength=0\n", 20, true},
    {"negative", "[config]\nBufferLength=-5\n", 20, true},
    {"text", "[config]\nBufferLength=fast\n", 20, true},
    {"number with trailing text", "[config]\nBufferLength=20ms\n", 20, true},
    {"empty value", "[config]\nBufferLength=\n", 20, true},
    {"huge", "[config]\nBufferLength=5000\n", 1000, true},
    {"beyond 64 bits", "[config]\nBufferLength=99999999999999999999999\n", 1000, true},
    {"far negative", "[config]\nBufferLength=-99999999999999999999999\n", 20, true},
    {"windows line endings", "[config]\r\nBufferLength=25\r\n", 25, false},
    {"a folder where the file should be", "", 20, true, Setup::Folder},
    {"a link to nothing", "", 20, true, Setup::LinkToNothing},
};

void makeSettings(const std::string &path, const ConfigCase &c)
{
    switch (c.setup) {
    case Setup::Text:
        writeWholeFile(path, c.fileText);
        break;
    case Setup::Folder:
        fs::create_directory(path);
        break;
    case Setup::LinkToNothing:
        fs::create_symlink(path + ".gone", path);
        break;
    }
}

// Whatever stood at the path still stands there, unchanged.
void expectUntouched(const std::string &path, const ConfigCase &c)
{
    switch (c.setup) {
    case Setup::Text:
        EXPECT_EQ(readWholeFile(path), c.fileText);
        break;
    case Setup::Folder:
        EXPECT_TRUE(fs::is_directory(path));
        break;
    case Setup::LinkToNothing:
        EXPECT_TRUE(fs::is_symlink(path));
        EXPECT_FALSE(fs::exists(path + ".gone"));
        break;
    }
}

TEST(Config, ExistingFileIsReadAndNeverRewritten)
{
    for (const ConfigCase &c : configCases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        const std::string path = folder.file("conf.ini");
        makeSettings(path, c);
        testing::internal::CaptureStderr();
        const int ms = loadBufferLengthMs(path);
        const std::string warning = testing::internal::GetCapturedStderr();
        EXPECT_EQ(ms, c.expectedMs);
        EXPECT_EQ(!warning.empty(), c.expectsWarning) << warning;
        expectUntouched(path, c);
    }
}

TEST(Config, MissingFileIsCreatedWithTheDefault)
{
    ScratchFolder folder;
    const std::string path = folder.file("conf.ini");
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadBufferLengthMs(path), 20);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(readWholeFile(path), "[config]\nBufferLength=20\n");
    // The second start reads the file it made.
    EXPECT_EQ(loadBufferLengthMs(path), 20);
    EXPECT_EQ(readWholeFile(path), "[config]\nBufferLength=20\n");
}

TEST(Config, UnwritableFolderStillRunsWithTheDefault)
{
    EXPECT_EQ(loadBufferLengthMs("/nonexistent-folder/conf.ini"), 20);
}

// Start-up neither stalls on conf.ini nor waits for it: a file over 1 MB or a pipe gives the
// default with a line naming the file, and stays as it was.
TEST(Config, OversizedFilesAndPipesAreNotRead)
{
    ScratchFolder folder;
    const std::string big = folder.write("big.ini", "[config]\nBufferLength=35\n;" + std::string(MaxIniBytes, 'x'));
    const std::string pipe = folder.file("pipe.ini");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const struct {
        std::string path;
        const char *reason;
    } cases[] = {
        {big, "bytes, larger than 1 MB"},
        {pipe, "not a regular file (a named pipe)"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        const uintmax_t sizeBefore = fs::is_regular_file(c.path) ? fs::file_size(c.path) : 0;
        int ms = 0;
        testing::internal::CaptureStderr();
        const bool finished = finishesWithoutWaiting([&] { ms = loadBufferLengthMs(c.path); }, {pipe});
        const std::string warning = testing::internal::GetCapturedStderr();
        ASSERT_TRUE(finished);
        EXPECT_EQ(ms, 20);
        EXPECT_NE(warning.find(c.path + ": "), std::string::npos) << warning;
        EXPECT_NE(warning.find(c.reason), std::string::npos) << warning;
        EXPECT_EQ(std::count(warning.begin(), warning.end(), '\n'), 1) << warning;
        if (sizeBefore != 0) {
            EXPECT_EQ(fs::file_size(c.path), sizeBefore);
        }
    }
    EXPECT_TRUE(fs::is_fifo(pipe));
}

// The player's keys beside BufferLength: each optional, each kept within its own range.
TEST(Config, PlayerSettingsKeepTheirRanges)
{
    struct Case {
        const char *name;
        const char *fileText;
        PlayerSettings expected;
        const char *warnedKey; // the key the one stderr line names; null for none
    };
    const PlayerSettings defaults;
    auto with = [&](auto change) {
        PlayerSettings s = defaults;
        change(s);
        return s;
    };
    const Case cases[] = {
        {"a fresh file", "[config]\nBufferLength=20\n", defaults, nullptr},
        {"every key at its far end",
         "[config]\nWave=4\nUnison=1\nScrollSpeed=4.0\nMusicVolume=0\nToneVolume=100\nAudioOffset=-300\n"
         "FullScreen=1\n",
         with([](PlayerSettings &s) {
             s.wave = 4;
             s.unison = 1;
             s.scrollSpeed = 4.0;
             s.musicVolume = 0;
             s.audioOffsetMs = -300;
             s.fullScreen = 1;
         }),
         nullptr},
        {"names in any case", "[config]\naudiooffset = 40\nscrollspeed=1.5\n", with([](PlayerSettings &s) {
             s.audioOffsetMs = 40;
             s.scrollSpeed = 1.5;
         }),
         nullptr},
        {"a whole-number scroll speed", "[config]\nScrollSpeed=2\n",
         with([](PlayerSettings &s) { s.scrollSpeed = 2.0; }), nullptr},
        {"wave past the last", "[config]\nWave=5\n", defaults, "Wave"},
        {"unison 2", "[config]\nUnison=2\n", defaults, "Unison"},
        {"scroll speed between steps", "[config]\nScrollSpeed=1.25\n", defaults, "ScrollSpeed"},
        {"scroll speed too fast", "[config]\nScrollSpeed=4.5\n", defaults, "ScrollSpeed"},
        {"scroll speed not a number", "[config]\nScrollSpeed=fast\n", defaults, "ScrollSpeed"},
        {"volume over 100", "[config]\nMusicVolume=101\n", defaults, "MusicVolume"},
        {"volume below 0", "[config]\nToneVolume=-5\n", defaults, "ToneVolume"},
        {"volume with a unit", "[config]\nToneVolume=50%\n", defaults, "ToneVolume"},
        {"offset too late", "[config]\nAudioOffset=301\n", defaults, "AudioOffset"},
        {"offset empty", "[config]\nAudioOffset=\n", defaults, "AudioOffset"},
        {"full screen yes", "[config]\nFullScreen=yes\n", defaults, "FullScreen"},
        {"one bad key leaves the others", "[config]\nWave=2\nMusicVolume=loud\nToneVolume=35\n",
         with([](PlayerSettings &s) {
             s.wave = 2;
             s.toneVolume = 35;
         }),
         "MusicVolume"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        const std::string path = folder.write("conf.ini", c.fileText);
        testing::internal::CaptureStderr();
        const PlayerSettings got = loadPlayerSettings(path);
        const std::string warning = testing::internal::GetCapturedStderr();
        EXPECT_EQ(got.wave, c.expected.wave);
        EXPECT_EQ(got.unison, c.expected.unison);
        EXPECT_DOUBLE_EQ(got.scrollSpeed, c.expected.scrollSpeed);
        EXPECT_EQ(got.musicVolume, c.expected.musicVolume);
        EXPECT_EQ(got.toneVolume, c.expected.toneVolume);
        EXPECT_EQ(got.audioOffsetMs, c.expected.audioOffsetMs);
        EXPECT_EQ(got.fullScreen, c.expected.fullScreen);
        if (c.warnedKey == nullptr) {
            EXPECT_EQ(warning, "");
        } else {
            EXPECT_EQ(warning.rfind(std::string("lumatide: conf.ini: ") + c.warnedKey + " ", 0), 0u) << warning;
            EXPECT_EQ(std::count(warning.begin(), warning.end(), '\n'), 1) << warning;
        }
        EXPECT_EQ(readWholeFile(path), c.fileText) << "reading never writes";
    }
}

// A fresh start writes BufferLength only; the player's keys come when the player changes them.
TEST(Config, FreshFileHoldsTheBufferLengthOnly)
{
    ScratchFolder folder;
    const std::string path = folder.file("conf.ini");
    testing::internal::CaptureStderr();
    loadBufferLengthMs(path);
    const PlayerSettings got = loadPlayerSettings(path);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(readWholeFile(path), "[config]\nBufferLength=20\n");
    EXPECT_EQ(got.musicVolume, 100);
    EXPECT_EQ(got.audioOffsetMs, 0);
}

} // namespace
