#pragma once
#include <cstdint>
#include <string>

// Numbers of the chart header as the game scans them.

// "%lf": leading blanks skipped; false when the text holds no number.
bool readDecimal(const std::string &text, double &value);

// The shortest text readDecimal reads back as the same value, so a tempo written or shown is the
// one the game times notes with.
std::string decimalText(double value);

// "%hu" on the text after "LEVEL:"; false when no number can be read.
bool readLevelValue(const std::string &text, uint16_t &level);

// A tempo notes can be timed with: positive and finite.
bool isPlayableBpm(double bpm);
