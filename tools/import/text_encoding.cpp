#include "text_encoding.h"

#include <cctype>

#include "library/file_lookup.h"
#include "platform/title_encoding.h"

namespace {

// CP1252 leaves five bytes undefined: they pass through as the character of the same code.
std::string convert(const std::string &bytes, const char *from)
{
    std::string utf8;
    return toUtf8(bytes, from, BadBytes::AsLatin1, utf8) ? utf8 : bytes;
}

std::string simplified(const std::string &name)
{
    std::string out;
    for (char c : name)
        if (std::isalnum(static_cast<unsigned char>(c)))
            out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

} // namespace

bool hasUtf8Mark(const std::string &bytes) { return bytes.compare(0, 3, "\xEF\xBB\xBF") == 0; }

std::string asciiUpper(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string asciiLower(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string songTextAsUtf8(const std::string &bytes, const std::string &declared)
{
    if (hasUtf8Mark(bytes))
        return bytes.substr(3);
    const std::string encoding = simplified(declared);
    if (encoding == "UTF8")
        return bytes;
    if (encoding.empty() && isValidUtf8(bytes))
        return bytes;
    if (encoding == "LATIN1" || encoding == "ISO88591")
        return convert(bytes, "ISO-8859-1");
    return convert(bytes, "CP1252");
}
