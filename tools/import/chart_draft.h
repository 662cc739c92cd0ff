#pragma once
// A chart about to be written: notes on an equal grid per measure, each with the exact time it
// must be heard at, so that the writer can keep the game's integer measure starts on time.
#include <string>
#include <vector>

struct DraftNote {
    int slot = 0;        // position in its measure, 0 .. slots - 1
    int pitch = 0;       // semitones from C of octave 4, after the song's octave shift
    bool ghost = false;  // shown, not judged
    bool linked = false; // slides into the next note
    double exactMs = 0.0;
};

struct DraftMeasure {
    double startMs = 0.0;  // exact start on the song clock
    double lengthMs = 0.0; // exact length
    int slots = 1;
    std::vector<DraftNote> notes; // in slot order, at most one per slot
};

struct ChartDraft {
    std::string title;  // UTF-8
    std::string wave;   // music file name relative to the song list's folder
    std::string source; // where the song came from, so a second import can be recognised
    double bpm = 120.0; // a whole measure of length 1 lasts 240000 / bpm ms
    int level = 1;
    std::vector<DraftMeasure> measures;
};

// The chart text. Measure lengths are written as #MEASURE fractions chosen so that every note time
// the game computes lies within 2 ms of its exact time.
std::string writeChartText(const ChartDraft &draft);

// The note token of a pitch, e.g. "4c+" or "#E " (ghost); pitches beyond the writable octaves are
// moved by whole octaves into them.
std::string noteToken(int pitch, bool ghost, bool linked);

// Reads a chart written by writeChartText back through the game's parser and returns the largest
// distance in ms between a note's parsed time and its exact time (a negative value when the
// counts differ).
double largestTimingError(const std::string &chartText, const ChartDraft &draft);
