#include "text_encoding.h"

#include <iconv.h>

#include <cctype>

#include "library/file_lookup.h"

namespace {

std::string convert(const std::string &bytes, const char *from)
{
    iconv_t converter = iconv_open("UTF-8", from);
    if (converter == reinterpret_cast<iconv_t>(-1))
        return bytes;
    std::string out(bytes.size() * 4 + 16, '\0');
    char *in = const_cast<char *>(bytes.data());
    size_t inLeft = bytes.size();
    char *at = &out[0];
    size_t outLeft = out.size();
    while (inLeft > 0 && iconv(converter, &in, &inLeft, &at, &outLeft) == static_cast<size_t>(-1)) {
        // CP1252 leaves five bytes undefined: they pass through as the character of the same code.
        const unsigned char byte = static_cast<unsigned char>(*in);
        *at++ = static_cast<char>(0xC0 | (byte >> 6));
        *at++ = static_cast<char>(0x80 | (byte & 0x3F));
        outLeft -= 2;
        in++;
        inLeft--;
    }
    iconv_close(converter);
    out.resize(out.size() - outLeft);
    return out;
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

std::string songTextAsUtf8(const std::string &bytes, const std::string &declared)
{
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
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
