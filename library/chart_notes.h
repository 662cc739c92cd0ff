#pragma once
#include <cstdint>
#include <vector>

#include "library/chart.h"

// The arithmetic of note placement, kept apart from file reading so tests can feed it numbers.

// A time on the song clock from a double: truncated toward zero, modulo 2^32 (0 when not finite).
uint32_t wrapToUint32(double value);

// The linked run that ends at the last placed note. Every note of the run up to shiftedUpTo has a
// shift and every note after it has none, so a long run is not walked again for each new note.
struct LinkRun {
    size_t start = 0;
    long shiftedUpTo = -1; // below start: no note of the run has a shift
};

// The shift the link rule gives note i, called for the notes in placing order: the earliest
// shifted note of the linked run that ends at i - 1 wins, and unshifted notes of that run take the
// shift of the nearest shifted note after them.
int applyLinkRule(std::vector<ChartNote> &notes, size_t i, LinkRun &run);

// Keeps pitch + 12 x shift in the field of lowestOctave..highestOctave: a note outside it gets
// base plus the octaves that bring it in, a note inside keeps its shift. The fold while placing
// replaces the shift (base 0); the final fold adds to it (base = shift).
int foldShift(double pitch, int shift, int base, int lowestOctave, int highestOctave);

// Sets next and prev of notes[0..noteCount] (the last record is the spare).
void linkNotes(std::vector<ChartNote> &notes, size_t noteCount);
