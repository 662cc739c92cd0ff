#include "library/header_values.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

bool readDecimal(const std::string &text, double &value)
{
    const char *start = text.c_str();
    char *end = nullptr;
    double parsed = std::strtod(start, &end);
    if (end == start)
        return false;
    value = parsed;
    return true;
}

std::string decimalText(double value)
{
    char text[40];
    const std::to_chars_result result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

bool readLevelValue(const std::string &text, uint16_t &level)
{
    const char *start = text.c_str();
    char *end = nullptr;
    unsigned long value = std::strtoul(start, &end, 10);
    if (end == start)
        return false;
    // "%hu" keeps the low 16 bits of a larger number, and "-1" is 65535.
    level = static_cast<uint16_t>(value);
    return true;
}

bool isPlayableBpm(double bpm) { return std::isfinite(bpm) && bpm > 0; }
