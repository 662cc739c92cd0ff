#pragma once
#include <cstdint>

#include "library/chart.h"

struct AutoplayView {
    const ChartNote *cur = nullptr;
    const ChartNote *prev = nullptr; // the note before the cursor; null at the first note
    uint32_t t = 0;
    int hitLatch = 0;
    int linkActive = 0;
    uint32_t phaseStartTime = 0;
    uint32_t msPerBeat = 0;
    double playerPitch = 0.0;
};

// Whether AUTOPLAY holds the key this frame: around each note, through every slide, and a little
// longer after a short note when the next one is far enough away.
bool autoplayPressesKey(const AutoplayView &view);

// Where AUTOPLAY puts the pointer, in view units: a glide from the previous note that accelerates
// and reaches the current note 50 ms before its time.
double autoplayPointerViewX(const AutoplayView &view);

// AUTOPLAY's hand on the key and the pointer, while the music plays.
void driveAutoplay();
