#include <gtest/gtest.h>

#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <filesystem>

#include "platform/paths.h"
#include "support/scratch_folder.h"

namespace {

std::string realPath(const std::string &path)
{
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) ? resolved : path;
}

bool isFolder(const std::string &path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

// Each layout from the same machine: a build folder, an installed prefix, and LUMATIDE_HOME over
// either; the XDG variables and their defaults below HOME.
TEST(FileLocations, EachLayoutPutsEveryFileInItsPlace)
{
    ScratchFolder machine;
    machine.write("build/lumatide", "");
    machine.write("usr/bin/lumatide", "");
    machine.write("usr/share/lumatide/data/songlist.txt", "");
    const std::string build = machine.file("build"), bin = machine.file("usr/bin");
    const std::string share = realPath(machine.file("usr/share/lumatide"));
    const std::string home = machine.file("home"), pinned = machine.file("pinned");

    const struct Case {
        const char *name;
        LocationInputs inputs;
        FileLocations expected;
    } cases[] = {
        {"build folder", {build, "", "", "", home}, {build, build, build + "/data", build + "/songs", false}},
        {"build folder ignores XDG",
         {build, "", "/x/config", "/x/data", home},
         {build, build, build + "/data", build + "/songs", false}},
        {"installed, XDG defaults",
         {bin, "", "", "", home},
         {share, home + "/.config/lumatide", home + "/.local/share/lumatide", home + "/.local/share/lumatide/songs",
          true}},
        {"installed, XDG set",
         {bin, "", "/x/config/", "/x/data", home},
         {share, "/x/config/lumatide", "/x/data/lumatide", "/x/data/lumatide/songs", true}},
        {"installed, relative XDG values are ignored",
         {bin, "", "config", "data", home + "/"},
         {share, home + "/.config/lumatide", home + "/.local/share/lumatide", home + "/.local/share/lumatide/songs",
          true}},
        {"installed, HOME is the root folder",
         {bin, "", "", "", "/"},
         {share, "/.config/lumatide", "/.local/share/lumatide", "/.local/share/lumatide/songs", true}},
        {"LUMATIDE_HOME over an installed copy",
         {bin, pinned + "/", "/x/config", "/x/data", home},
         {pinned, pinned, pinned + "/data", pinned + "/songs", false}},
        {"LUMATIDE_HOME over a build folder",
         {build, pinned, "", "", home},
         {pinned, pinned, pinned + "/data", pinned + "/songs", false}},
        // A folder that cannot be written to (here one that is gone: root may write anywhere).
        {"executable folder not writable",
         {machine.file("gone"), "", "", "", home},
         {machine.file("gone"), home + "/.config/lumatide", home + "/.local/share/lumatide",
          home + "/.local/share/lumatide/songs", true}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const FileLocations found = locateFiles(c.inputs);
        EXPECT_EQ(found.content, c.expected.content);
        EXPECT_EQ(found.settings, c.expected.settings);
        EXPECT_EQ(found.savedData, c.expected.savedData);
        EXPECT_EQ(found.userSongs, c.expected.userSongs);
        EXPECT_EQ(found.inUserFolders, c.expected.inUserFolders);
    }
}

// The test executable sits in a writable build folder with nothing installed above it.
TEST(FileLocations, ThisRunKeepsEverythingBesideTheExecutable)
{
    if (std::getenv("LUMATIDE_HOME") != nullptr)
        GTEST_SKIP() << "LUMATIDE_HOME pins the folders";
    EXPECT_EQ(contentDirectory(), exeDirectory());
    EXPECT_EQ(settingsFilePath(), exeDirectory() + "/conf.ini");
    EXPECT_EQ(savedDataDirectory(), exeDirectory() + "/data");
    EXPECT_EQ(userSongsDirectory(), exeDirectory() + "/songs");
}

TEST(FileLocations, UserFoldersAreMadeOnlyForTheUserLayout)
{
    ScratchFolder home;
    const LocationInputs installed{home.file("no-such-bin"), "", "", "", home.path};
    std::string reason;
    ASSERT_TRUE(makeUserFolders(locateFiles(installed), reason)) << reason;
    EXPECT_TRUE(isFolder(home.file(".config/lumatide")));
    EXPECT_TRUE(isFolder(home.file(".local/share/lumatide")));
    // Made already: nothing to do, no complaint.
    EXPECT_TRUE(makeUserFolders(locateFiles(installed), reason)) << reason;

    // Beside the executable nothing is made: the folders are there or the files report themselves.
    const FileLocations beside = locateFiles({home.file("portable"), home.file("portable"), "", "", home.path});
    EXPECT_TRUE(makeUserFolders(beside, reason)) << reason;
    EXPECT_FALSE(std::filesystem::exists(home.file("portable")));
}

TEST(FileLocations, AFileWhereAFolderShouldBeIsNamed)
{
    ScratchFolder home;
    home.write(".local/share", "not a folder");
    std::string reason;
    EXPECT_FALSE(makeUserFolders(locateFiles({home.file("no-such-bin"), "", "", "", home.path}), reason));
    EXPECT_EQ(reason.rfind(home.file(".local/share") + ": ", 0), 0u) << reason;
}
