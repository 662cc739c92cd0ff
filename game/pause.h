#pragma once
#include <cstdint>

// P pauses and resumes, and the window losing the keyboard pauses. Pausing silences the music
// and the tone at once and holds the song clock; it needs the music still going. True while the song stands still, after this frame's key: the play
// update then leaves the clock and the rules alone. The clock goes on from where it stood.
bool updatePauseKey(uint32_t now);
