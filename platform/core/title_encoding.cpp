#include "platform/title_encoding.h"

#include <cerrno>
#include <iconv.h>

#include "platform/core/utf8.h"

namespace {

constexpr char Replacement[] = "\xEF\xBF\xBD"; // U+FFFD

bool isUtf8(const std::string &bytes)
{
    size_t pos = 0;
    char32_t codePoint = 0;
    while (pos < bytes.size()) {
        if (!readUtf8CodePoint(bytes, pos, codePoint))
            return false;
    }
    return true;
}

// Without a CP932 converter only ASCII survives.
std::string asciiOnly(const std::string &bytes)
{
    std::string out;
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) < 0x80)
            out += c;
        else
            out += Replacement;
    }
    return out;
}

} // namespace

bool toUtf8(const std::string &bytes, const char *fromEncoding, BadBytes bad, std::string &utf8)
{
    iconv_t converter = iconv_open("UTF-8", fromEncoding);
    if (converter == reinterpret_cast<iconv_t>(-1))
        return false;
    utf8.clear();
    std::string input = bytes;
    char *in = input.data();
    size_t inLeft = input.size();
    char chunk[256];
    bool whole = true;
    while (inLeft > 0) {
        char *at = chunk;
        size_t outLeft = sizeof chunk;
        const size_t result = iconv(converter, &in, &inLeft, &at, &outLeft);
        utf8.append(chunk, size_t(at - chunk));
        if (result != static_cast<size_t>(-1))
            break;
        if (errno == E2BIG)
            continue;
        // An invalid or cut-off sequence: the bad byte is dealt with and the next one read.
        if (bad == BadBytes::Refuse) {
            whole = false;
            break;
        }
        const unsigned char byte = static_cast<unsigned char>(*in);
        if (bad == BadBytes::AsLatin1) {
            utf8 += static_cast<char>(0xC0 | (byte >> 6));
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        } else {
            utf8 += Replacement;
        }
        ++in;
        --inLeft;
    }
    iconv_close(converter);
    return whole;
}

std::string titleTextToUtf8(const std::string &bytes)
{
    if (isUtf8(bytes))
        return bytes;
    // glibc knows the Windows variant as CP932; plain SHIFT_JIS lacks its extra characters.
    std::string utf8;
    return toUtf8(bytes, "CP932", BadBytes::AsReplacement, utf8) ? utf8 : asciiOnly(bytes);
}
