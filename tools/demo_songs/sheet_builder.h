#pragma once
// Shorthand for writing demo song sheets.
#include <string>
#include <vector>

#include "song_sheet.h"

inline SheetMeasure bar(const std::string &melody, const std::string &chords, Groove groove = Groove::Backbeat)
{
    return SheetMeasure{melody, chords, groove, 4, 4};
}

inline SheetMeasure waltzBar(const std::string &melody, const std::string &chords, Groove groove = Groove::Waltz)
{
    return SheetMeasure{melody, chords, groove, 3, 4};
}

inline void append(std::vector<SheetMeasure> &measures, const std::vector<SheetMeasure> &more)
{
    measures.insert(measures.end(), more.begin(), more.end());
}
