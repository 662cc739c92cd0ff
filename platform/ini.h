#pragma once
#include <string>

// Private-profile INI access: sections in [brackets], key=value lines, names compared without
// regard to case. Reading a missing file, section or key gives the default.
std::string iniReadString(const std::string &path, const std::string &section, const std::string &key,
                          const std::string &fallback);
// Adds or replaces the key, creating the file and the section when missing. False on failure.
bool iniWriteString(const std::string &path, const std::string &section, const std::string &key,
                    const std::string &value);
