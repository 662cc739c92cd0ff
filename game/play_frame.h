#pragma once
#include <cstdint>

#include "library/chart.h"

// What one call of the play update carries from step to step.
struct PlayFrame {
    uint32_t now = 0;
    bool judged = false;                   // a judgement is to be recorded this frame
    const ChartNote *judgedNote = nullptr; // the note whose timing gave it (for the trace)
};
