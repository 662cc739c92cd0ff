#include "app/config.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "platform/ini.h"

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
// (no permission, a folder, a link to nothing) is the user's and stays as it is.
static SettingsFile settingsFile(const std::string &path)
{
    struct stat info;
    if (lstat(path.c_str(), &info) != 0)
        return errno == ENOENT ? SettingsFile::Missing : SettingsFile::Unreadable;
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || !std::ifstream(path))
        return SettingsFile::Unreadable;
    return SettingsFile::Readable;
}

int loadBufferLengthMs(const std::string &iniPath)
{
    switch (settingsFile(iniPath)) {
    case SettingsFile::Missing:
        iniWriteString(iniPath, "config", "BufferLength", std::to_string(DefaultBufferLengthMs));
        return DefaultBufferLengthMs;
    case SettingsFile::Unreadable:
        std::fprintf(stderr, "lumatide: %s cannot be read; using BufferLength %d\n", iniPath.c_str(),
                     DefaultBufferLengthMs);
        return DefaultBufferLengthMs;
    case SettingsFile::Readable:
        break;
    }
    const std::string text = iniReadString(iniPath, "config", "BufferLength", std::to_string(DefaultBufferLengthMs));
    long long value = 0;
    if (!parseInteger(text, value) || value < 1) {
        std::fprintf(stderr, "lumatide: conf.ini: BufferLength \"%s\" is not a positive number of milliseconds; using %d\n",
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
