#pragma once
// The chart of a demo song, in the game's chart format.
#include <string>

#include "song_sheet.h"

std::string chartText(const SongSheet &sheet);
