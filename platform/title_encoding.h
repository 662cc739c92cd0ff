#pragma once
#include <string>

// What becomes of a byte the converter cannot read.
enum class BadBytes {
    Refuse,        // the whole conversion fails
    AsLatin1,      // it stands for the character of the same code
    AsReplacement, // it shows as U+FFFD
};

// bytes, written in fromEncoding (an iconv name such as "CP932"), as UTF-8 in utf8. False when
// the system has no converter for fromEncoding, or with BadBytes::Refuse when a byte is bad.
bool toUtf8(const std::string &bytes, const char *fromEncoding, BadBytes bad, std::string &utf8);

// A title's bytes as UTF-8. Valid UTF-8 is kept as it is; anything else is read as CP932, the
// Shift-JIS variant old chart files are written in, and bytes that decode as neither become U+FFFD.
std::string titleTextToUtf8(const std::string &bytes);
