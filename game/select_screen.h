#pragma once
#include <cstdint>

// The select screen's keys: Escape back to the title, the song cursor, the scroll speed, and the
// start key (space, or the up arrow for AUTOPLAY).
void updateSelectScreen(uint32_t now);
