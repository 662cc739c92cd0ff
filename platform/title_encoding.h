#pragma once
#include <string>

// A title's bytes as UTF-8. Valid UTF-8 is kept as it is; anything else is read as CP932, the
// Shift-JIS variant old chart files are written in, and bytes that decode as neither become U+FFFD.
std::string titleTextToUtf8(const std::string &bytes);
