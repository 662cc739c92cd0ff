#pragma once
#include <string>

// Whether the bytes open with the UTF-8 byte-order mark.
bool hasUtf8Mark(const std::string &bytes);

// The text in ASCII capitals or small letters; other bytes stay as they are.
std::string asciiUpper(std::string text);
std::string asciiLower(std::string text);

// Song text as UTF-8: a UTF-8 byte-order mark is dropped; declared tells the file's own
// #ENCODING value ("UTF8", "CP1252", "LATIN1"... or empty); without one, valid UTF-8 stays as it
// is and anything else is read as CP1252, the legacy default of karaoke song files.
std::string songTextAsUtf8(const std::string &bytes, const std::string &declared);
