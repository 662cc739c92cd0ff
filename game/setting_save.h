#pragma once
#include <string>

// Writes [config] key=value to conf.ini at once, keeping every other line, and traces it. A file
// that cannot be written is named on stderr; the setting still holds for this run.
void saveSetting(const char *key, const std::string &value);
void saveSetting(const char *key, int value);
