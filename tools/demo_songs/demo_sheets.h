#pragma once
// The demo songs, in the order of the song list. The extra song stays last: after a stage that
// unlocks it, the select screen puts the cursor on the last entry.
#include <vector>

#include "song_sheet.h"

SongSheet sunnySpotSheet();
SongSheet paperKitesSheet();
SongSheet glassHarborSheet();
SongSheet starfallCircuitSheet();

std::vector<SongSheet> demoSongSheets();
