#include "app/config.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/ini.h"
#include "platform/regular_file.h"

// The whole value as a decimal integer (blanks around it allowed); false when it is anything else.
// Values beyond long long come out as its limits, which still sort on the right side of the range.
static bool parseInteger(const std::string &text, long long &value)
{
    const char *begin = text.c_str();
    char *end = nullptr;
    value = std::strtoll(begin, &end, 10);
    if (end == begin)
        return false;
    while (*end == ' ' || *end == '\t')
        end++;
    return *end == '\0';
}

enum class SettingsFile { Missing, Readable, Unreadable };

// Only a settings file that is surely not there is created. One that is there but cannot be read
// (no permission, a folder, a pipe, a link to nothing, over MaxIniBytes) is the user's and stays
// as it is; reason says why.
static SettingsFile settingsFile(const std::string &path, std::string &reason)
{
    struct stat info;
    if (lstat(path.c_str(), &info) != 0) {
        const int error = errno;
        reason = std::strerror(error);
        return error == ENOENT ? SettingsFile::Missing : SettingsFile::Unreadable;
    }
    RegularFile file = openRegularFile(path, MaxIniBytes);
    closeRegularFile(file);
    if (file.status == FileStatus::Opened)
        return SettingsFile::Readable;
    reason = file.status == FileStatus::Missing ? "a link to a missing file" : file.reason;
    return SettingsFile::Unreadable;
}

int loadBufferLengthMs(const std::string &iniPath)
{
    std::string reason;
    switch (settingsFile(iniPath, reason)) {
    case SettingsFile::Missing:
        iniWriteString(iniPath, "config", "BufferLength", std::to_string(DefaultBufferLengthMs));
        return DefaultBufferLengthMs;
    case SettingsFile::Unreadable:
        std::fprintf(stderr, "lumatide: %s: %s; using BufferLength %d\n", iniPath.c_str(), reason.c_str(),
                     DefaultBufferLengthMs);
        return DefaultBufferLengthMs;
    case SettingsFile::Readable:
        break;
    }
    const std::string text = iniReadString(iniPath, "config", "BufferLength", std::to_string(DefaultBufferLengthMs));
    long long value = 0;
    if (!parseInteger(text, value) || value < 1) {
        std::fprintf(stderr,
                     "lumatide: conf.ini: BufferLength \"%s\" is not a positive number of milliseconds; using %d\n",
                     text.c_str(), DefaultBufferLengthMs);
        return DefaultBufferLengthMs;
    }
    if (value > MaximumBufferLengthMs) {
        std::fprintf(stderr, "lumatide: conf.ini: BufferLength %s is too long; using %d\n", text.c_str(),
                     MaximumBufferLengthMs);
        return MaximumBufferLengthMs;
    }
    return static_cast<int>(value);
}
