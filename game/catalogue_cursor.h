#pragma once
#include <cstdint>
#include <vector>

#include "library/song_entry.h"

constexpr uint16_t ExtraLevel = 7;

// Moves the select cursor one entry in `step` (+1 or -1) and on over entries that cannot be
// chosen. After a full lap without a selectable entry the cursor stays at `from`; an empty
// catalogue leaves it alone.
uint16_t stepToSelectable(const std::vector<SongEntry> &songs, uint16_t songCount, uint16_t from, int step,
                          int extraUnlocked);

// Where the cursor rests after a stage: the last entry when the extra songs are unlocked, else
// entry 0, moved forward over entries already played. When every entry has been played it stays
// on that starting entry.
uint16_t cursorAfterStage(const std::vector<SongEntry> &songs, uint16_t songCount, int extraUnlocked);
