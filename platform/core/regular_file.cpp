#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

const char *kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISFIFO(mode))
        return "a named pipe";
    if (S_ISSOCK(mode))
        return "a socket";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    return "a special file";
}

std::string limitText(uint64_t limit)
{
    if (limit % (uint64_t(1) << 20) == 0)
        return std::to_string(limit >> 20) + " MB";
    if (limit % 1024 == 0)
        return std::to_string(limit >> 10) + " KB";
    return std::to_string(limit) + " bytes";
}

std::string tooLarge(uint64_t size, uint64_t limit)
{
    return std::to_string(size) + " bytes, larger than " + limitText(limit);
}

RegularFile refused(RegularFile file, const std::string &reason)
{
    if (file.fd >= 0)
        close(file.fd);
    file.fd = -1;
    file.status = FileStatus::Refused;
    file.reason = reason;
    return file;
}

} // namespace

RegularFile openRegularFile(const std::string &path, uint64_t maxBytes)
{
    RegularFile file;
    // Non-blocking, so that a pipe opens at once and fstat can turn it away; O_NOCTTY keeps a
    // terminal under the name from becoming ours.
    file.fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (file.fd < 0) {
        const int error = errno;
        file.reason = std::strerror(error);
        file.status = error == ENOENT || error == ENOTDIR ? FileStatus::Missing : FileStatus::Refused;
        return file;
    }
    struct stat info;
    if (fstat(file.fd, &info) != 0) {
        const int error = errno;
        return refused(file, std::strerror(error));
    }
    if (!S_ISREG(info.st_mode))
        return refused(file, std::string("not a regular file (") + kindOf(info.st_mode) + ")");
    file.size = uint64_t(info.st_size);
    if (file.size > maxBytes)
        return refused(file, tooLarge(file.size, maxBytes));
    const int flags = fcntl(file.fd, F_GETFL);
    if (flags < 0 || fcntl(file.fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        const int error = errno;
        return refused(file, std::strerror(error));
    }
    file.status = FileStatus::Opened;
    return file;
}

void closeRegularFile(RegularFile &file)
{
    if (file.fd >= 0)
        close(file.fd);
    file.fd = -1;
}

FILE *openRegularStream(const std::string &path, uint64_t maxBytes, std::string &reason)
{
    RegularFile file = openRegularFile(path, maxBytes);
    if (file.status != FileStatus::Opened) {
        reason = file.reason;
        return nullptr;
    }
    FILE *stream = fdopen(file.fd, "rb");
    if (stream == nullptr) {
        reason = std::strerror(errno);
        closeRegularFile(file);
    }
    return stream;
}

FileStatus readRegularFile(const std::string &path, uint64_t maxBytes, std::string &bytes, std::string &reason)
{
    bytes.clear();
    RegularFile file = openRegularFile(path, maxBytes);
    reason = file.reason;
    if (file.status != FileStatus::Opened)
        return file.status;
    bytes.reserve(file.size);
    char chunk[65536];
    for (;;) {
        const ssize_t got = read(file.fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            reason = std::strerror(errno);
            break;
        }
        if (got == 0) {
            closeRegularFile(file);
            return FileStatus::Opened;
        }
        if (bytes.size() + uint64_t(got) > maxBytes) {
            reason = tooLarge(bytes.size() + uint64_t(got), maxBytes);
            break;
        }
        bytes.append(chunk, size_t(got));
    }
    closeRegularFile(file);
    bytes.clear();
    bytes.shrink_to_fit();
    return FileStatus::Refused;
}
