// Runs the built game as a user would: a copy in a fresh folder, started from elsewhere, on the
// display the tests run with (Xvfb under scripts/test.sh), driven with xdotool.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "temp_folder.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

std::string commandOutput(const std::string &command)
{
    std::string output;
    FILE *pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return output;
    char chunk[256];
    while (fgets(chunk, sizeof chunk, pipe) != nullptr)
        output += chunk;
    pclose(pipe);
    return output;
}

// One run of a copy of the game with its trace on stderr.
struct GameRun {
    TempFolder folder;
    pid_t pid = -1;
    int exitStatus = -1;

    std::string exe() const { return folder.file("lumatide"); }
    std::string traceText() const { return readWholeFile(folder.file("stderr.txt")); }

    void start()
    {
        fs::copy_file(LUMATIDE_BUILD_DIR "/lumatide", exe());
        fs::copy(LUMATIDE_BUILD_DIR "/data", folder.file("data"), fs::copy_options::recursive);
        fs::copy(LUMATIDE_BUILD_DIR "/img", folder.file("img"), fs::copy_options::recursive);
        // A first start: a game run from the build folder may have left its ranking there.
        fs::remove(folder.file("data/score.hsc"));
        const std::string errPath = folder.file("stderr.txt");
        const std::string exePath = exe();
        pid = fork();
        if (pid == 0) {
            // From another folder, so every file must be found beside the executable.
            if (chdir("/") != 0)
                _exit(126);
            const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(err, STDERR_FILENO);
            setenv("SDL_AUDIODRIVER", "dummy", 1);
            setenv("LUMATIDE_TRACE", "1", 1);
            execl(exePath.c_str(), exePath.c_str(), static_cast<char *>(nullptr));
            _exit(127);
        }
        ASSERT_GT(pid, 0);
    }

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

    // The game's window id once it is on screen and has the keyboard focus, empty when it did not
    // appear in time. Without a window manager the focus stays on whatever window had it last, a
    // window of an earlier test that may be gone by now, so it is handed over explicitly.
    std::string waitForWindow()
    {
        const std::string search =
            "xdotool search --onlyvisible --pid " + std::to_string(pid) + " --name '^lumatide$' 2>/dev/null";
        for (auto waited = 0ms; waited < 15000ms && running(); waited += 100ms) {
            std::string id = commandOutput(search);
            id = id.substr(0, id.find('\n'));
            if (!id.empty()) {
                std::system(("xdotool windowfocus " + id + " 2>/dev/null").c_str());
                return id;
            }
            std::this_thread::sleep_for(100ms);
        }
        return "";
    }

    // True once the trace holds the line; false when the game ended or took too long.
    bool waitForTraceLine(const std::string &line)
    {
        for (auto waited = 0ms; waited < 15000ms; waited += 20ms) {
            if (traceText().find(" " + line + "\n") != std::string::npos)
                return true;
            if (!running())
                return false;
            std::this_thread::sleep_for(20ms);
        }
        return false;
    }

    bool exitsWithin(std::chrono::milliseconds limit)
    {
        for (auto waited = 0ms; waited < limit; waited += 10ms) {
            if (!running())
                return true;
            std::this_thread::sleep_for(10ms);
        }
        return !running();
    }

    ~GameRun()
    {
        if (running()) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
};

// A first start writes the ranking file's defaults, 175000 down to 40000, in CR LF lines.
void expectDefaultRankingFile(const GameRun &run)
{
    std::string expected;
    for (int score = 175000; score >= 40000; score -= 15000)
        expected += std::to_string(score) + "\r\n";
    EXPECT_EQ(readWholeFile(run.folder.file("data/score.hsc")), expected);
}

void expectFreshSettingsAndTrace(GameRun &run)
{
    EXPECT_EQ(readWholeFile(run.folder.file("conf.ini")), "[config]\nBufferLength=20\n");
    expectDefaultRankingFile(run);
    const std::string trace = run.traceText();
    EXPECT_NE(trace.find(" state Title\n"), std::string::npos) << trace;
    EXPECT_NE(trace.find(" quit\n"), std::string::npos) << trace;
}

class GuiSmoke : public testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
            GTEST_SKIP() << "needs a display (scripts/test.sh starts Xvfb)";
    }
};

TEST_F(GuiSmoke, HoldingEscapeOnTheTitleQuits)
{
    GameRun run;
    run.start();
    ASSERT_FALSE(run.waitForWindow().empty()) << run.traceText();
    // The title screen comes after start-up, which has saved the ranking by then.
    ASSERT_TRUE(run.waitForTraceLine("state Title")) << run.traceText();
    expectDefaultRankingFile(run);
    ASSERT_EQ(std::system("xdotool keydown Escape"), 0);
    std::this_thread::sleep_for(150ms);
    ASSERT_EQ(std::system("xdotool keyup Escape"), 0);
    ASSERT_TRUE(run.exitsWithin(3000ms)) << run.traceText();
    EXPECT_EQ(run.exitStatus, 0) << run.traceText();
    expectFreshSettingsAndTrace(run);
}

TEST_F(GuiSmoke, TerminateSignalShutsDownInOrder)
{
    GameRun run;
    run.start();
    ASSERT_FALSE(run.waitForWindow().empty()) << run.traceText();
    kill(run.pid, SIGTERM);
    ASSERT_TRUE(run.exitsWithin(3000ms)) << run.traceText();
    EXPECT_EQ(run.exitStatus, 0) << run.traceText();
    expectFreshSettingsAndTrace(run);
}

} // namespace
