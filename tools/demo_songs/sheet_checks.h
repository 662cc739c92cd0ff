#pragma once
// The rules a demo song keeps so that its chart reads cleanly and plays fairly at its level.
#include <string>
#include <vector>

#include "song_sheet.h"

// Shortest time between two judged notes at a level.
double shortestNoteGapMs(int level);

// One line per broken rule; empty when the sheet is fine.
std::vector<std::string> sheetProblems(const SongSheet &sheet);
