#pragma once
// What every layer of one frame shares: the clock, the one keyboard read, the screen and sizes.
#include <cstdint>

#include "gfx/field_geometry.h"

struct FrameContext {
    uint32_t nowMs = 0;
    bool rankingKeyDown = false; // the right-arrow key: the title screen shows the ranking
    int state = 0;               // GameState
    FieldMetrics metrics;
};
