#pragma once
// Wiped at every song: resetPlayState (game/) clears it. Written by the pause of the play screen
// (game/: the P key and the window losing the keyboard); read by the renderer.
#include <cstdint>

struct PauseState {
    int paused = 0;          // play stands still
    uint32_t pausedAtMs = 0; // timer ms of the pause
    int keyHeldFrames = 0;   // the P key
};

extern PauseState songPause;
