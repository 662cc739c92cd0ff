#pragma once
#include <string>

// Song text as UTF-8: a UTF-8 byte-order mark is dropped; declared tells the file's own
// #ENCODING value ("UTF8", "CP1252", "LATIN1"... or empty); without one, valid UTF-8 stays as it
// is and anything else is read as CP1252, the legacy default of karaoke song files.
std::string songTextAsUtf8(const std::string &bytes, const std::string &declared);
