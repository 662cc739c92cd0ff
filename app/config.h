#pragma once
#include <string>

constexpr int DefaultBufferLengthMs = 20;
constexpr int MaximumBufferLengthMs = 1000;

// The audio buffer length from conf.ini at iniPath. A missing file is created with
// [config] BufferLength=20; a file that is there is never rewritten. A missing key gives 20
// silently. A file that is there but cannot be read, or a value below 1 or not a number, gives
// 20, and an absurd value gives 1000; each of these says so on stderr.
int loadBufferLengthMs(const std::string &iniPath);
