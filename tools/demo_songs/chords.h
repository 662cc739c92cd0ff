#pragma once
// Chord symbols of the sheet ("C", "Am", "G7", "Fmaj7", "Dsus4", "C/E") and where each one sounds.
#include <string>
#include <vector>

#include "song_sheet.h"
#include "song_timing.h"

struct ChordShape {
    int root = 0;               // pitch class, 0 = C
    int bass = 0;               // pitch class of the lowest note (the root unless a slash says)
    std::vector<int> intervals; // semitones above the root, the root's 0 included
};

bool parseChord(const std::string &symbol, ChordShape &out);

struct ChordSpan {
    double startMs;
    double endMs;
    double beats;
    ChordShape chord;
    Groove groove; // of the measure the chord starts in
};

std::vector<ChordSpan> chordSpans(const SongSheet &sheet, const std::vector<MeasureSpan> &spans);

// The chord's tones placed in one octave from lowestPitch up, so consecutive chords move little.
std::vector<int> chordVoicing(const ChordShape &chord, int lowestPitch);
