#include "platform/ini.h"

#include "platform/regular_file.h"

#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <vector>

namespace {

std::string trimmed(const std::string &text)
{
    const char *blanks = " \t\r\n";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

bool sameName(const std::string &a, const std::string &b) { return strcasecmp(a.c_str(), b.c_str()) == 0; }

// The section name when the line is a [section] header.
bool sectionHeader(const std::string &line, std::string &name)
{
    const std::string text = trimmed(line);
    if (text.size() < 2 || text.front() != '[')
        return false;
    const size_t close = text.find(']');
    if (close == std::string::npos)
        return false;
    name = trimmed(text.substr(1, close - 1));
    return true;
}

// The key and raw value when the line is a key=value pair.
bool keyValue(const std::string &line, std::string &key, std::string &value)
{
    const std::string text = trimmed(line);
    if (text.empty() || text.front() == ';')
        return false;
    const size_t equals = text.find('=');
    if (equals == std::string::npos)
        return false;
    key = trimmed(text.substr(0, equals));
    value = trimmed(text.substr(equals + 1));
    return !key.empty();
}

std::string withoutQuotes(const std::string &value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

bool readLines(const std::string &path, std::vector<std::string> &lines, bool &crlf)
{
    std::string text, reason;
    if (readRegularFile(path, MaxIniBytes, text, reason) != FileStatus::Opened)
        return false;
    // Every byte order mark at the start goes: an editor that added one more before the first
    // section would otherwise hide that section from the reader but not from the writer.
    const std::string byteOrderMark = "\xEF\xBB\xBF";
    size_t start = 0;
    while (text.compare(start, byteOrderMark.size(), byteOrderMark) == 0)
        start += byteOrderMark.size();
    crlf = false;
    bool first = true;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (first)
            crlf = !line.empty() && line.back() == '\r';
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        first = false;
        start = end + 1;
    }
    return true;
}

// Index of the first line of the section's body and one past its last line; false when missing.
bool findSection(const std::vector<std::string> &lines, const std::string &section, size_t &begin, size_t &end)
{
    std::string name;
    for (size_t i = 0; i < lines.size(); i++) {
        if (!sectionHeader(lines[i], name) || !sameName(name, section))
            continue;
        begin = i + 1;
        end = begin;
        while (end < lines.size() && !sectionHeader(lines[end], name))
            end++;
        return true;
    }
    return false;
}

bool writeLines(const std::string &path, const std::vector<std::string> &lines, bool crlf)
{
    const std::string temporary = path + ".new";
    // One left by a crash could be a link or a pipe, which the stream would write through or wait on.
    unlink(temporary.c_str());
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file)
            return false;
        for (const std::string &line : lines)
            file << line << (crlf ? "\r\n" : "\n");
        file.flush();
        if (!file) {
            file.close();
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace

std::string iniReadString(const std::string &path, const std::string &section, const std::string &key,
                          const std::string &fallback)
{
    std::vector<std::string> lines;
    bool crlf = false;
    size_t begin = 0, end = 0;
    if (!readLines(path, lines, crlf) || !findSection(lines, section, begin, end))
        return fallback;
    std::string name, value;
    for (size_t i = begin; i < end; i++) {
        if (keyValue(lines[i], name, value) && sameName(name, key))
            return withoutQuotes(value);
    }
    return fallback;
}

bool iniWriteString(const std::string &path, const std::string &section, const std::string &key,
                    const std::string &value)
{
    std::vector<std::string> lines;
    bool crlf = false;
    struct stat info;
    // A file that is there but cannot be read would lose every other line.
    if (!readLines(path, lines, crlf) && lstat(path.c_str(), &info) == 0)
        return false;
    const std::string pair = key + "=" + value;
    size_t begin = 0, end = 0;
    if (!findSection(lines, section, begin, end)) {
        if (!lines.empty() && !trimmed(lines.back()).empty())
            lines.push_back("");
        lines.push_back("[" + section + "]");
        lines.push_back(pair);
        return writeLines(path, lines, crlf);
    }
    std::string name, oldValue;
    for (size_t i = begin; i < end; i++) {
        if (keyValue(lines[i], name, oldValue) && sameName(name, key)) {
            lines[i] = pair;
            return writeLines(path, lines, crlf);
        }
    }
    // A new key goes after the section's last non-blank line, keeping the blank line before the next section.
    size_t insertAt = end;
    while (insertAt > begin && trimmed(lines[insertAt - 1]).empty())
        insertAt--;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), pair);
    return writeLines(path, lines, crlf);
}
