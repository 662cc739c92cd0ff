#include "support/game_process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <thread>

#include "support/command_output.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

GameProcess::~GameProcess()
{
    if (running()) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
}

void GameProcess::install(bool withBundledData)
{
    fs::copy_file(LUMATIDE_BUILD_DIR "/lumatide", folder.file("lumatide"));
    fs::copy(LUMATIDE_BUILD_DIR "/img", folder.file("img"), fs::copy_options::recursive);
    if (withBundledData) {
        fs::copy(LUMATIDE_BUILD_DIR "/data", folder.file("data"), fs::copy_options::recursive);
        // A first start: a game run from the build folder may have left its ranking there.
        fs::remove(folder.file("data/score.hsc"));
    } else {
        fs::create_directory(folder.file("data"));
    }
}

void GameProcess::start()
{
    const std::string exe = folder.file("lumatide");
    const std::string err = folder.file("stderr.txt");
    exitStatus = -1; // a second start in the same folder
    pid = fork();
    if (pid == 0) {
        // From another folder, so every file must be found beside the executable.
        if (chdir("/") != 0)
            _exit(126);
        const int fd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, STDERR_FILENO);
        // No sound server under Xvfb: without this the game would wait at its no-audio message box.
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("LUMATIDE_TRACE", "1", 1);
        execl(exe.c_str(), exe.c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
}

std::string GameProcess::trace() const { return readWholeFile(folder.file("stderr.txt")); }

bool GameProcess::running()
{
    if (pid <= 0 || exitStatus >= 0)
        return false;
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) != pid)
        return true;
    exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return false;
}

bool GameProcess::exitsWithin(std::chrono::milliseconds limit)
{
    for (auto waited = 0ms; waited < limit && running(); waited += 10ms)
        std::this_thread::sleep_for(10ms);
    return !running();
}

size_t GameProcess::waitForTrace(const std::string &pattern, size_t from, std::chrono::milliseconds limit)
{
    const std::regex line(pattern);
    for (auto waited = 0ms; waited <= limit; waited += 20ms) {
        const std::string text = trace();
        std::smatch match;
        if (from <= text.size() && std::regex_search(text.cbegin() + long(from), text.cend(), match, line))
            return size_t(match.position(0) + match.length(0)) + from;
        if (!running())
            return std::string::npos;
        std::this_thread::sleep_for(20ms);
    }
    return std::string::npos;
}

// Without a window manager the keyboard focus stays with whatever window had it last, a window of
// an earlier test that may be gone by now, so it is handed over explicitly.
std::string GameProcess::waitForWindow()
{
    const std::string search = "xdotool search --all --onlyvisible --pid " + std::to_string(pid) +
                               " --name '^lumatide$' 2>/dev/null";
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

bool runXdotool(const std::string &arguments)
{
    for (int attempt = 0; attempt < 3; attempt++) {
        if (std::system(("xdotool " + arguments).c_str()) == 0)
            return true;
        std::this_thread::sleep_for(100ms);
    }
    return false;
}

bool pressKey(const char *xdotoolKeyName, std::chrono::milliseconds hold)
{
    const std::string key = xdotoolKeyName;
    return runXdotool("keydown " + key + " sleep " + std::to_string(double(hold.count()) / 1000) + " keyup " + key);
}

size_t GameProcess::startAtTitle()
{
    start();
    if (waitForWindow().empty())
        return std::string::npos;
    const size_t at = waitForTrace(" state Title\n", 0, std::chrono::seconds(15));
    if (at != std::string::npos)
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    return at;
}
