#include "library/file_lookup.h"

#include "library/song_entry.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstdint>
#include <vector>

#include "platform/paths.h"
#include "platform/title_encoding.h"

std::string joinPath(const std::string &folder, const std::string &name)
{
    if (folder.empty() || folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

namespace {

bool isCp932LeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// In CP932 the second byte of a double-byte character may be 0x5C, which is no separator.
std::vector<std::string> splitComponents(const std::string &name, bool cp932)
{
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < name.size(); i++) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        if (c == '/' || c == '\\') {
            parts.emplace_back();
        } else if (cp932 && isCp932LeadByte(c) && i + 1 < name.size()) {
            parts.back() += name.substr(i, 2);
            i++;
        } else {
            parts.back() += static_cast<char>(c);
        }
    }
    return parts;
}

bool equalIgnoringAsciiCase(const std::string &a, const char *b)
{
    size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; i++) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z')
            x = static_cast<unsigned char>(x + 32);
        if (y >= 'A' && y <= 'Z')
            y = static_cast<unsigned char>(y + 32);
        if (x != y)
            return false;
    }
    return i == a.size() && b[i] == '\0';
}

bool findInFolder(const std::string &folder, const std::string &component, std::string &found)
{
    if (pathKind(joinPath(folder, component)) != PathKind::Missing) {
        found = component;
        return true;
    }
    DIR *dir = opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr)
        return false;
    bool matched = false;
    while (struct dirent *entry = readdir(dir)) {
        if (equalIgnoringAsciiCase(component, entry->d_name)) {
            found = entry->d_name;
            matched = true;
            break;
        }
    }
    closedir(dir);
    return matched;
}

bool resolveComponents(const std::string &folder, const std::vector<std::string> &parts, std::string &path)
{
    path = folder;
    for (const std::string &part : parts) {
        if (part.empty())
            continue;
        std::string found;
        if (!findInFolder(path, part, found))
            return false;
        path = joinPath(path, found);
    }
    return true;
}

} // namespace

PathKind pathKind(const std::string &path)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return PathKind::Missing;
    return S_ISREG(info.st_mode) ? PathKind::File : PathKind::Other;
}

bool isValidUtf8(const std::string &text)
{
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        size_t length;
        uint32_t codePoint;
        if (c < 0x80) {
            i++;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            length = 2;
            codePoint = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            length = 3;
            codePoint = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            length = 4;
            codePoint = c & 0x07;
        } else {
            return false;
        }
        if (i + length > text.size())
            return false;
        for (size_t k = 1; k < length; k++) {
            unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        static const uint32_t smallest[5] = {0, 0, 0x80, 0x800, 0x10000};
        if (codePoint < smallest[length] || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

std::string dataDirectory() { return contentDirectory() + "/data"; }

std::string songFolder(const SongEntry &entry) { return entry.playersOwn ? userSongsDirectory() : dataDirectory(); }

std::string findDataFile(const std::string &folder, const std::string &name)
{
    std::string asWritten = joinPath(folder, name);
    if (pathKind(asWritten) != PathKind::Missing)
        return asWritten;
    bool utf8 = isValidUtf8(name);
    std::string path;
    if (resolveComponents(folder, splitComponents(name, !utf8), path))
        return path;
    std::string converted;
    if (!utf8 && toUtf8(name, "CP932", BadBytes::Refuse, converted) &&
        resolveComponents(folder, splitComponents(converted, false), path))
        return path;
    return asWritten;
}
