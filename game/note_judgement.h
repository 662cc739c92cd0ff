#pragma once
#include "game/play_frame.h"

// Follows the octave of the current note and judges it by the ordinary-note or slide-end table;
// once every note has passed without a MISS, marks the full combo.
void judgeCurrentNote(PlayFrame &frame);
