// cmake --install into a temporary prefix, then the installed game started from its menu entry's
// Exec line by a user other than root, with a fresh HOME: title, select, an AUTOPLAY song, quit.
// Its settings and ranking must land in the XDG folders below HOME, and nothing under the prefix
// may change.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <thread>

#include "support/game_test.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// Every file and folder under a folder with its size and change time.
std::map<std::string, std::pair<uintmax_t, int64_t>> snapshot(const std::string &folder)
{
    std::map<std::string, std::pair<uintmax_t, int64_t>> entries;
    for (const fs::directory_entry &entry : fs::recursive_directory_iterator(folder)) {
        struct stat info;
        lstat(entry.path().c_str(), &info);
        entries[entry.path()] = {entry.is_regular_file() ? entry.file_size() : 0,
                                 int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
    }
    return entries;
}

// The command of the desktop entry's Exec line, as a menu would start it.
std::string execCommand(const std::string &desktopFile)
{
    const std::string text = readWholeFile(desktopFile);
    const size_t at = text.find("\nExec=");
    if (at == std::string::npos)
        return "";
    const size_t start = at + 6;
    return text.substr(start, text.find('\n', start) - start);
}

// Who plays: the invoking user, or nobody when the tests run as root (in CI, say), so that a write
// under the root-owned prefix would fail as it does for a player.
struct Player {
    uid_t uid = getuid();
    gid_t gid = getgid();
};

Player player()
{
    Player who;
    if (geteuid() == 0) {
        const passwd *nobody = getpwnam("nobody");
        who.uid = nobody ? nobody->pw_uid : 65534;
        who.gid = nobody ? nobody->pw_gid : 65534;
    }
    return who;
}

} // namespace

using InstalledGame = GameTest;

TEST_F(InstalledGame, PlaysFromTheMenuEntryAndSavesOnlyInTheHomeFolder)
{
    const Player who = player();
    ASSERT_EQ(chmod(game.folder.path.c_str(), 0755), 0);
    const std::string prefix = game.folder.file("prefix"), home = game.folder.file("home");
    const std::string install = std::string("'") + LUMATIDE_CMAKE + "' --install '" + LUMATIDE_BUILD_DIR +
                                "' --prefix '" + prefix + "' >'" + game.folder.file("install.txt") + "' 2>&1";
    ASSERT_EQ(std::system(install.c_str()), 0) << readWholeFile(game.folder.file("install.txt"));
    const std::string command = execCommand(prefix + "/share/applications/io.github.lumatide.Lumatide.desktop");
    ASSERT_EQ(command, "lumatide");
    fs::create_directory(home);
    ASSERT_EQ(chown(home.c_str(), who.uid, who.gid), 0);
    const auto before = snapshot(prefix);

    const std::string err = game.folder.file("stderr.txt");
    const int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(errFd, 0);
    game.pid = fork();
    if (game.pid == 0) {
        dup2(errFd, STDERR_FILENO);
        if (chdir("/") != 0)
            _exit(126);
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(who.gid) != 0 || setuid(who.uid) != 0))
            _exit(125);
        setenv("HOME", home.c_str(), 1);
        setenv("PATH", (prefix + "/bin:/usr/bin:/bin").c_str(), 1);
        unsetenv("XDG_CONFIG_HOME");
        unsetenv("XDG_DATA_HOME");
        unsetenv("LUMATIDE_HOME");
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("LUMATIDE_TRACE", "1", 1);
        execlp(command.c_str(), command.c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
    close(errFd);

    const std::string config = home + "/.config/lumatide", data = home + "/.local/share/lumatide";
    ASSERT_NO_FATAL_FAILURE(waitFor(" paths config=" + config + " data=" + data + " songs=" + data + "/songs\n", 15s));
    ASSERT_FALSE(game.waitForWindow().empty()) << game.trace();
    ASSERT_NO_FATAL_FAILURE(waitFor(" catalogue [1-9][0-9]*\n", 15s));
    ASSERT_NO_FATAL_FAILURE(waitFor(" state Title\n", 15s));
    std::this_thread::sleep_for(300ms);

    ASSERT_NO_FATAL_FAILURE(pressFor("space", " state Select\n"));
    ASSERT_NO_FATAL_FAILURE(pressFor("Up", " song start [^ ]+ autoplay=1 stage=0\n"));
    // The installed song plays: its chart and music were found under the prefix.
    EXPECT_NE(game.trace().find(" music Primed\n"), std::string::npos) << game.trace();
    std::this_thread::sleep_for(1s);
    ASSERT_NO_FATAL_FAILURE(escapeToTitleAndQuit(10s));

    EXPECT_EQ(readWholeFile(config + "/conf.ini"), "[config]\nBufferLength=20\n");
    EXPECT_TRUE(fileExists(data + "/score.hsc")) << game.trace();
    EXPECT_EQ(game.trace().find("lumatide: "), std::string::npos) << game.trace();
    EXPECT_EQ(snapshot(prefix), before) << "the game wrote under its prefix";
}
