#pragma once
#include <cstddef>
#include <string>

// Reads the code point that starts at pos and moves pos past it. Strict: overlong forms,
// surrogates and values above U+10FFFF are not UTF-8. On false pos is unchanged.
bool readUtf8CodePoint(const std::string &text, size_t &pos, char32_t &codePoint);
