#include "platform/core/utf8.h"

#include <cstdint>

bool readUtf8CodePoint(const std::string &text, size_t &pos, char32_t &codePoint)
{
    if (pos >= text.size())
        return false;
    const auto lead = static_cast<uint8_t>(text[pos]);
    int length = 0;
    char32_t value = 0, minimum = 0;
    if (lead < 0x80) {
        length = 1, value = lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07, minimum = 0x10000;
    } else {
        return false;
    }
    if (text.size() - pos < size_t(length))
        return false;
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<uint8_t>(text[pos + i]);
        if ((next & 0xC0) != 0x80)
            return false;
        value = (value << 6) | (next & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return false;
    pos += size_t(length);
    codePoint = value;
    return true;
}
