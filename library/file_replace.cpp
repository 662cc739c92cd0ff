#include "library/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include "library/file_lookup.h"

namespace {

// As many links as the system itself follows.
const int MaxLinkHops = 40;

std::string folderOf(const std::string &path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

} // namespace

std::string replaceTarget(const std::string &path)
{
    std::string target = path;
    struct stat info;
    for (int hop = 0; hop < MaxLinkHops; hop++) {
        if (lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            break;
        char link[PATH_MAX];
        const ssize_t length = readlink(target.c_str(), link, sizeof link - 1);
        if (length <= 0)
            return path;
        const std::string next(link, size_t(length));
        if (next[0] == '/')
            target = next;
        else
            target = joinPath(folderOf(target), next);
    }
    if (lstat(target.c_str(), &info) != 0)
        return errno == ENOENT ? target : path; // a link to a file not written yet
    return S_ISREG(info.st_mode) ? target : path;
}

namespace {

int writeAll(int fd, const std::string &text)
{
    size_t written = 0;
    while (written < text.size()) {
        ssize_t got = write(fd, text.data() + written, text.size() - written);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno;
        if (got == 0)
            return ENOSPC;
        written += static_cast<size_t>(got);
    }
    return 0;
}

} // namespace

// The old temporary goes first so that O_EXCL never writes through a link or into a pipe that
// stands under its name.
bool writeTemporaryFile(const std::string &temporary, const std::string &text, std::string &reason)
{
    if (unlink(temporary.c_str()) != 0 && errno != ENOENT) {
        reason = "cannot remove the old " + temporary + ": " + std::strerror(errno);
        return false;
    }
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        reason = std::strerror(errno);
        return false;
    }
    int error = writeAll(fd, text);
    if (error == 0 && fsync(fd) != 0)
        error = errno;
    if (close(fd) != 0 && error == 0)
        error = errno;
    if (error != 0) {
        reason = std::strerror(error);
        unlink(temporary.c_str());
        return false;
    }
    return true;
}

bool renameOver(const std::string &temporary, const std::string &target, std::string &reason)
{
    if (std::rename(temporary.c_str(), target.c_str()) == 0)
        return true;
    reason = std::strerror(errno);
    unlink(temporary.c_str());
    return false;
}

bool replaceFileText(const std::string &path, const std::string &text, std::string &target, std::string &reason)
{
    target = replaceTarget(path);
    const std::string temporary = target + ".tmp";
    return writeTemporaryFile(temporary, text, reason) && renameOver(temporary, target, reason);
}
