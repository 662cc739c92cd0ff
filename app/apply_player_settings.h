#pragma once
#include "app/config.h"

// Puts the player's settings into the game's records. Before the play state is reset, which takes
// the unison for the starting loudness. Voice mode opens the capture device at once, with the gate
// and tone already set.
void applyPlayerSettings(const PlayerSettings &player);
