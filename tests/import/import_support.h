#pragma once
// Inputs the import tests write themselves: karaoke song files and music in several formats.
#include <string>
#include <vector>

#include "support/chart_tool_run.h"

struct SongNote {
    char type = ':';
    long beat = 0;
    int pitch = 0;
    std::string syllable = "la";
};

// A karaoke song file: header lines (each "#TAG:value"), the notes, "E".
std::string ultraStarText(const std::vector<std::string> &header, const std::vector<SongNote> &notes);

// A sine tone of the given length in a libsndfile format (SF_FORMAT_WAV | SF_FORMAT_PCM_16, ...).
// False when libsndfile cannot write that format here.
bool writeTone(const std::string &path, int format, int sampleRate, int channels, double seconds);

// The same tone as AAC in an .m4a file, encoded with FFmpeg's own AAC encoder.
bool writeAacTone(const std::string &path, int sampleRate, int channels, double seconds);

std::string quoted(const std::string &text);
