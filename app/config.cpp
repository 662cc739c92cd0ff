#include "app/config.h"

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

int loadBufferLengthMs(const std::string &iniPath)
{
    if (!std::ifstream(iniPath)) {
        iniWriteString(iniPath, "config", "BufferLength", std::to_string(DefaultBufferLengthMs));
        return DefaultBufferLengthMs;
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
