#include "game/catalogue_cursor.h"

namespace {

// Played entries and, until the extra songs are unlocked, level-7 entries cannot be chosen.
bool isSelectable(const SongEntry &entry, int extraUnlocked)
{
    if (entry.played == 1)
        return false;
    return !(entry.level == ExtraLevel && extraUnlocked == 0);
}

} // namespace

uint16_t stepToSelectable(const std::vector<SongEntry> &songs, uint16_t songCount, uint16_t from, int step,
                          int extraUnlocked)
{
    if (songCount == 0)
        return from;
    uint16_t cursor = from;
    for (int moves = 0; moves < songCount; moves++) {
        cursor = static_cast<uint16_t>((cursor + songCount + step) % songCount);
        if (isSelectable(songs[cursor], extraUnlocked))
            return cursor;
    }
    return from;
}

uint16_t cursorAfterStage(const std::vector<SongEntry> &songs, uint16_t songCount, int extraUnlocked)
{
    if (songCount == 0)
        return 0;
    const uint16_t start = extraUnlocked == 1 ? static_cast<uint16_t>(songCount - 1) : 0;
    uint16_t cursor = start;
    for (int moves = 0; moves < songCount; moves++) {
        if (songs[cursor].played == 0)
            return cursor;
        cursor = static_cast<uint16_t>((cursor + 1) % songCount);
    }
    return start;
}
