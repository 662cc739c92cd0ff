#pragma once
// Never wiped: the window and the pointer over it. The window procedure (app/) writes the size on
// every resize and the pointer and the hovered or held control on mouse messages; fieldMargin,
// voiceGain and the pointer are also set back by resetPlayState, the pointer is steered by AUTOPLAY,
// voiceGain follows the unison key, and the song clock raises two controls during the lead-in
// (all game/). Read by the renderer and, through the atomics, by the voice thread.
#include <atomic>

#include "rules/screen_control.h"

struct WindowState {
    std::atomic<int> clientWidth{640};
    std::atomic<int> clientHeight{480};
    double aspect = 0.75;
    std::atomic<int> fieldMargin{40};
    std::atomic<double> pointerX{0.0};
    double pointerY = 0.0;
    std::atomic<double> voiceGain{0.75};
    int hoverControl = 0;
    int controlCode = 0;
    ScreenControl controls[5]; // index 0 is control 1 (previous song) ... 4 is control 5

    WindowState();
};

extern WindowState window;

// Lays the controls out anew for the window's aspect: after a resize and when play is abandoned.
void resetControlLayout();
