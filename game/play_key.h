#pragma once
#include "game/play_frame.h"

// The play key (space) while the song is played by hand and after it has ended: counts held
// frames, stops the tone on release, forgives a short release during a slide, ends a slide let
// go for good, and leaves the ended song on a fresh press.
void updatePlayKey(PlayFrame &frame);
