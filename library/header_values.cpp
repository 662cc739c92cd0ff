#include "library/header_values.h"

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
