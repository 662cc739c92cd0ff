// Any bytes as an INI file, then one key written into it: what was written reads back, and a key
// elsewhere reads as it did before. The input is five lines (section, key, value, and the section
// and key of the other entry) followed by the file itself.
#include <strings.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/ini.h"
#include "tests/support/scratch_folder.h"

namespace {

bool nextLine(const std::string &bytes, size_t &at, std::string &line)
{
    const size_t end = bytes.find('\n', at);
    if (end == std::string::npos)
        return false;
    line = bytes.substr(at, end - at);
    at = end + 1;
    return true;
}

bool hasBlankEnds(const std::string &text)
{
    const std::string blanks = " \t\r\n";
    return !text.empty() &&
           (blanks.find(text.front()) != std::string::npos || blanks.find(text.back()) != std::string::npos);
}

bool sameName(const std::string &a, const std::string &b) { return strcasecmp(a.c_str(), b.c_str()) == 0; }

// What the writer can store so that the reader gives it back unchanged: names and values as the
// reader trims them, a key that reads as neither a comment nor a section, a section name without
// the closing bracket, a value without the quotes the reader strips.
bool storable(const std::string &section, const std::string &key, const std::string &value)
{
    if (hasBlankEnds(section) || hasBlankEnds(key) || hasBlankEnds(value))
        return false;
    if (key.empty() || key.front() == ';' || key.front() == '[' || key.find('=') != std::string::npos)
        return false;
    if (section.find(']') != std::string::npos)
        return false;
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    return !quoted;
}

void failRoundTrip(const char *what, const std::string &expected, const std::string &got)
{
    std::fprintf(stderr, "ini_fuzzer: %s: expected \"%s\", read \"%s\"\n", what, expected.c_str(), got.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    std::string section, key, value, otherSection, otherKey;
    size_t at = 0;
    if (!nextLine(bytes, at, section) || !nextLine(bytes, at, key) || !nextLine(bytes, at, value) ||
        !nextLine(bytes, at, otherSection) || !nextLine(bytes, at, otherKey))
        return 0;
    if (!storable(section, key, value))
        return 0;

    ScratchFolder folder;
    const std::string path = folder.write("t.ini", bytes.substr(at));
    const std::string fallback = "\x01 absent";
    const bool otherIsWritten = sameName(otherSection, section) && sameName(otherKey, key);
    const std::string otherBefore = iniReadString(path, otherSection, otherKey, fallback);

    if (!iniWriteString(path, section, key, value))
        std::abort();
    const std::string written = iniReadString(path, section, key, fallback);
    if (written != value)
        failRoundTrip("the key written", value, written);
    const std::string otherAfter = iniReadString(path, otherSection, otherKey, fallback);
    if (!otherIsWritten && otherAfter != otherBefore)
        failRoundTrip("another key", otherBefore, otherAfter);
    return 0;
}
