#include "platform/paths.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

std::string exeDirectory()
{
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return ".";
    const std::string exe(path, static_cast<size_t>(length));
    const size_t slash = exe.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : exe.substr(0, slash);
}

namespace {

bool isFolder(const std::string &path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string withoutTrailingSlash(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// A relative XDG_CONFIG_HOME or XDG_DATA_HOME counts as unset, as desktops treat it: a folder
// relative to wherever the game was started from would scatter the player's files.
std::string xdgFolder(const std::string &value, const std::string &home, const char *fallback)
{
    if (!value.empty() && value[0] == '/')
        return withoutTrailingSlash(value);
    const std::string base = withoutTrailingSlash(home);
    return (base == "/" ? "" : base) + fallback;
}

FileLocations besideOneFolder(const std::string &root) { return {root, root, root + "/data", root + "/songs", false}; }

FileLocations inUserFolders(const std::string &content, const LocationInputs &inputs)
{
    const std::string config = xdgFolder(inputs.xdgConfigHome, inputs.home, "/.config") + "/lumatide";
    const std::string data = xdgFolder(inputs.xdgDataHome, inputs.home, "/.local/share") + "/lumatide";
    return {content, config, data, data + "/songs", true};
}

std::string environment(const char *name)
{
    const char *value = std::getenv(name);
    return value ? value : "";
}

std::string homeFolder()
{
    std::string home = environment("HOME");
    if (home.empty()) {
        if (const passwd *entry = getpwuid(getuid()))
            home = entry->pw_dir ? entry->pw_dir : "";
    }
    return home.empty() ? "/" : home;
}

bool makeFolderWithParents(const std::string &folder, std::string &reason)
{
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string prefix = folder.substr(0, slash);
        if (mkdir(prefix.c_str(), 0755) != 0 && errno != EEXIST) {
            reason = prefix + ": " + std::strerror(errno);
            return false;
        }
        if (!isFolder(prefix)) {
            reason = prefix + ": not a folder";
            return false;
        }
        if (slash == std::string::npos)
            return true;
    }
}

} // namespace

FileLocations locateFiles(const LocationInputs &inputs)
{
    if (!inputs.lumatideHome.empty())
        return besideOneFolder(withoutTrailingSlash(inputs.lumatideHome));
    const std::string installedContent = inputs.exeDirectory + "/../share/lumatide";
    if (isFolder(installedContent)) {
        char resolved[PATH_MAX];
        return inUserFolders(realpath(installedContent.c_str(), resolved) ? resolved : installedContent, inputs);
    }
    if (access(inputs.exeDirectory.c_str(), W_OK) == 0)
        return besideOneFolder(inputs.exeDirectory);
    return inUserFolders(inputs.exeDirectory, inputs);
}

const FileLocations &fileLocations()
{
    static const FileLocations locations = locateFiles({exeDirectory(), environment("LUMATIDE_HOME"),
                                                        environment("XDG_CONFIG_HOME"), environment("XDG_DATA_HOME"),
                                                        homeFolder()});
    return locations;
}

std::string contentDirectory() { return fileLocations().content; }
std::string settingsFilePath() { return fileLocations().settings + "/conf.ini"; }
std::string savedDataDirectory() { return fileLocations().savedData; }
std::string userSongsDirectory() { return fileLocations().userSongs; }

bool makeUserFolders(const FileLocations &locations, std::string &reason)
{
    if (!locations.inUserFolders)
        return true;
    return makeFolderWithParents(locations.settings, reason) && makeFolderWithParents(locations.savedData, reason);
}
