#pragma once
#include <cstdint>

// Holds the song still: the music and the tone fall silent at once and the song clock stands.
// Only on the play screen while the music has not ended; nothing when already paused.
void pauseSong(uint32_t now);

// P pauses and resumes. True while the song stands still, after this frame's key: the play
// update then leaves the clock and the rules alone. The clock goes on from where it stood.
bool updatePauseKey(uint32_t now);
