#pragma once
#include <cstdint>

// P pauses and resumes, and the window losing the keyboard pauses. A pause silences the music and
// the tone at once and holds the song clock; it needs the music still going. Returns true while
// the song stands still after this frame's key: the play update then leaves the clock and the
// rules alone, and on resume the clock goes on from where it stood.
bool updatePauseKey(uint32_t now);
