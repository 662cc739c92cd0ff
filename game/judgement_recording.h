#pragma once
#include <cstdint>

#include "game/play_frame.h"

// After the judgement: moves the current note with the cursor (stepping over ghost notes unless
// AUTOPLAY plays them), books a recorded judgement into combo, gauge, score and counts, and keeps
// the same-pitch latch. `indexBefore` is the cursor as the frame's judgement found it.
void recordJudgement(PlayFrame &frame, int32_t indexBefore);
