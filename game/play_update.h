#pragma once
#include <cstdint>

// One frame of play: the song clock from the music, then the rules.
void updatePlay();

// Everything after the song clock: beat and measures, the player's pitch, the score count-up,
// Escape, the song end, the play key or AUTOPLAY, and the judgement of the current note. Tests
// drive it with a clock of their own.
void applyPlayRules(uint32_t now);
