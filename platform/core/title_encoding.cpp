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

std::string cp932ToUtf8(const std::string &bytes)
{
    // glibc knows the Windows variant as CP932; plain SHIFT_JIS lacks its extra characters.
    iconv_t converter = iconv_open("UTF-8", "CP932");
    if (converter == reinterpret_cast<iconv_t>(-1))
        return asciiOnly(bytes);
    std::string out;
    std::string input = bytes;
    char *in = input.data();
    size_t inLeft = input.size();
    char chunk[256];
    while (inLeft > 0) {
        char *outPtr = chunk;
        size_t outLeft = sizeof chunk;
        const size_t result = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
        out.append(chunk, size_t(outPtr - chunk));
        if (result != static_cast<size_t>(-1))
            break;
        if (errno == E2BIG)
            continue;
        // An invalid or cut-off sequence: show one replacement and go on with the next byte.
        out += Replacement;
        ++in;
        --inLeft;
    }
    iconv_close(converter);
    return out;
}

} // namespace

std::string titleTextToUtf8(const std::string &bytes)
{
    if (isUtf8(bytes))
        return bytes;
    return cp932ToUtf8(bytes);
}
