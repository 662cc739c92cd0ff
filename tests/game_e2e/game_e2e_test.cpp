// Plays the built game end to end: a copy in a fresh folder with one short generated song, on an
// X server of its own (other GUI tests inject keys on the shared display at the same time), keys
// injected with xdotool, the trace read back.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <thread>

#include "audio/ogg_encode.h"
#include "shell/temp_folder.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// Two bars of 120 BPM with a slide, after one empty bar; the music runs a little past the chart.
const char *const ShortChart =
    "TITLE:e2e\nLEVEL:1\nWAVE:e2e.ogg\nBPM:120\nOFFSET:0\n#START\n"
    ",\n"
    "4c 4e 4G 4c ,\n"
    "4e 4d 4c 40 ,\n"
    "#END\n";
constexpr int ShortChartNotes = 7;
constexpr int MusicSeconds = 7;

// A private Xvfb on a free display number, stopped at destruction.
class PrivateDisplay {
public:
    PrivateDisplay()
    {
        int ready[2];
        if (pipe(ready) != 0)
            return;
        pid = fork();
        if (pid == 0) {
            close(ready[0]);
            const int quiet = open("/dev/null", O_WRONLY);
            dup2(quiet, STDERR_FILENO);
            const std::string fd = std::to_string(ready[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                   static_cast<char *>(nullptr));
            _exit(127);
        }
        close(ready[1]);
        // Xvfb writes the display number once it accepts connections.
        char digits[16] = {};
        const ssize_t got = read(ready[0], digits, sizeof digits - 1);
        close(ready[0]);
        if (got > 0)
            name = ":" + std::string(digits, size_t(got) - (digits[got - 1] == '\n' ? 1 : 0));
    }

    ~PrivateDisplay()
    {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }

    std::string name;    // ":<n>", empty when no server started

private:
    pid_t pid = -1;
};

class GameProcess {
public:
    TempFolder folder;

    ~GameProcess()
    {
        if (running()) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }

    void install()
    {
        fs::copy_file(LUMATIDE_BUILD_DIR "/lumatide", folder.file("lumatide"));
        fs::copy(LUMATIDE_BUILD_DIR "/img", folder.file("img"), fs::copy_options::recursive);
        fs::create_directory(folder.file("data"));
        writeWholeFile(folder.file("data/songlist.txt"), "e2e.txt\n");
        writeWholeFile(folder.file("data/e2e.txt"), ShortChart);
        const int rate = 44100;
        ASSERT_TRUE(encodeOgg(folder.file("data/e2e.ogg"), 2, rate, sineSamples(2, rate, size_t(rate) * MusicSeconds, 330.0)));
    }

    void start(const std::string &display)
    {
        const std::string exe = folder.file("lumatide");
        const std::string err = folder.file("stderr.txt");
        pid = fork();
        if (pid == 0) {
            if (chdir("/") != 0)
                _exit(126);
            const int fd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(fd, STDERR_FILENO);
            setenv("DISPLAY", display.c_str(), 1);
            setenv("SDL_AUDIODRIVER", "dummy", 1);
            setenv("LUMATIDE_TRACE", "1", 1);
            execl(exe.c_str(), exe.c_str(), static_cast<char *>(nullptr));
            _exit(127);
        }
        ASSERT_GT(pid, 0);
    }

    std::string trace() const { return readWholeFile(folder.file("stderr.txt")); }

    bool running()
    {
        if (pid <= 0 || exitStatus >= 0)
            return false;
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) != pid)
            return true;
        exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return false;
    }

    // Waits until the trace holds a line matching `pattern` after position `from`; returns the
    // position after the match, or npos when it did not come in time.
    size_t waitForTrace(const std::string &pattern, size_t from, std::chrono::milliseconds limit)
    {
        const std::regex line(pattern);
        for (auto waited = 0ms; waited <= limit; waited += 50ms) {
            const std::string text = trace();
            std::smatch match;
            if (from <= text.size() && std::regex_search(text.cbegin() + long(from), text.cend(), match, line))
                return size_t(match.position(0) + match.length(0)) + from;
            if (!running())
                return std::string::npos;
            std::this_thread::sleep_for(50ms);
        }
        return std::string::npos;
    }

    bool exitsWithin(std::chrono::milliseconds limit)
    {
        for (auto waited = 0ms; waited < limit && running(); waited += 20ms)
            std::this_thread::sleep_for(20ms);
        return !running();
    }

    int exitStatus = -1;

private:
    pid_t pid = -1;
};

class GameEndToEnd : public testing::Test {
protected:
    PrivateDisplay display;

    void SetUp() override
    {
        if (display.name.empty())
            GTEST_SKIP() << "needs Xvfb";
    }

    // Holds the key long enough for the game's 1 ms polls to see it, as a player would.
    void pressKey(const char *key)
    {
        const std::string xdotool = "DISPLAY=" + display.name + " xdotool ";
        ASSERT_EQ(std::system((xdotool + "keydown " + key).c_str()), 0);
        std::this_thread::sleep_for(80ms);
        ASSERT_EQ(std::system((xdotool + "keyup " + key).c_str()), 0);
    }
};

TEST_F(GameEndToEnd, AutoplayASongFromTheTitleAndBack)
{
    GameProcess game;
    ASSERT_NO_FATAL_FAILURE(game.install());
    ASSERT_NO_FATAL_FAILURE(game.start(display.name));
    size_t at = game.waitForTrace(" state Title\n", 0, 15s);
    ASSERT_NE(at, std::string::npos) << game.trace();
    std::this_thread::sleep_for(300ms);

    ASSERT_NO_FATAL_FAILURE(pressKey("space"));
    at = game.waitForTrace(" state Select\n", at, 5s);
    ASSERT_NE(at, std::string::npos) << game.trace();

    ASSERT_NO_FATAL_FAILURE(pressKey("Up"));
    at = game.waitForTrace(" song start e2e\\.txt autoplay=1 stage=0\n", at, 5s);
    ASSERT_NE(at, std::string::npos) << game.trace();

    at = game.waitForTrace(" song end [^\n]*\n", at, 30s);
    ASSERT_NE(at, std::string::npos) << game.trace();
    const std::string text = game.trace();
    const size_t lineStart = text.rfind(" song end ", at);
    const std::string songEnd = text.substr(lineStart, at - lineStart);
    EXPECT_NE(songEnd.find("miss=0 good=0 great=" + std::to_string(ShortChartNotes) + " score=100000 "),
              std::string::npos)
        << songEnd;
    EXPECT_NE(songEnd.find(" CLEAR"), std::string::npos) << songEnd;
    EXPECT_NE(text.find(" full combo\n"), std::string::npos) << text;

    // Space is only taken a second after the end.
    std::this_thread::sleep_for(1200ms);
    ASSERT_NO_FATAL_FAILURE(pressKey("space"));
    at = game.waitForTrace(" state Select\n", at, 5s);
    ASSERT_NE(at, std::string::npos) << game.trace();

    ASSERT_NO_FATAL_FAILURE(pressKey("Escape"));
    at = game.waitForTrace(" state Title\n", at, 5s);
    ASSERT_NE(at, std::string::npos) << game.trace();
    std::this_thread::sleep_for(100ms);
    ASSERT_NO_FATAL_FAILURE(pressKey("Escape"));
    ASSERT_TRUE(game.exitsWithin(5000ms)) << game.trace();
    EXPECT_EQ(game.exitStatus, 0) << game.trace();
}

}  // namespace
