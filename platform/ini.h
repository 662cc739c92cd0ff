#pragma once
#include <cstdint>
#include <string>

// A settings file is a few lines: a larger one is not read, so it cannot stall start-up.
const uint64_t MaxIniBytes = uint64_t(1) << 20;

// Private-profile INI access: sections in [brackets], key=value lines, names compared without
// regard to case, blanks around names and values ignored, one pair of enclosing quotes stripped
// from a value, lines starting with ';' are comments. The first section and the first key of a
// name count. Reading a missing file, section or key gives the default, and so does a file that
// is not a regular file (a pipe is never waited on) or is larger than MaxIniBytes.
std::string iniReadString(const std::string &path, const std::string &section, const std::string &key,
                          const std::string &fallback);
// Adds or replaces the key, creating the file and the section when missing; every other line is
// kept as it was. The file is replaced whole, so a failed write leaves the old one. A file that is
// there but cannot be read is left alone. False on failure.
bool iniWriteString(const std::string &path, const std::string &section, const std::string &key,
                    const std::string &value);
