#pragma once

// Writes [config] key=value to conf.ini at once, keeping every other line, and traces it.
void saveSetting(const char *key, int value);
void saveSetting(const char *key, const char *value);
