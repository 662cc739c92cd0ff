#pragma once
// Never wiped: the screen flow and the menu keys, for the whole run. Written by the menus and the
// song start and end (game/); read by the renderer and, through the atomics, by the voice thread.
#include <atomic>
#include <cstdint>

enum GameState { Select = 0, Play = 1, Title = 2, Result = 3, Calibrate = 4 };

struct MenuState {
    std::atomic<int> state{Title};
    std::atomic<int> waveType{0}; // a WaveType
    std::atomic<int> unison{0};
    double scrollSpeed = 1.0;
    uint16_t selectedSong = 0;
    int autoplay = 0;
    int waveKeyHeldFrames = 0;
    int unisonKeyHeldFrames = 0;
    int leftHeldFrames = 0;
    int rightHeldFrames = 0;
    int scrollKeyHeldFrames = 0;
    uint32_t lastRepeatTime = 0;
};

extern MenuState menu;
