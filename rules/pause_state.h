#pragma once
// Wiped at every song: resetPlayState (game/) clears it. Written by the pause of the play screen
// (game/) and, for focusLost, by the window procedure (app/) when the window loses the keyboard;
// read by the renderer.
#include <cstdint>

struct PauseState {
    int paused = 0;          // play stands still
    uint32_t pausedAtMs = 0; // timer ms of the pause
    int keyHeldFrames = 0;   // the P key
    int focusLost = 0;       // the window lost the keyboard since the last frame
};

extern PauseState songPause;
