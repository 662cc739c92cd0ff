#pragma once
// For the run: the player's own settings beyond the buffer length, read from conf.ini at start-up
// (app/) and changed by the menus, the calibration screen and the window keys (game/), which save
// each change at once. The volumes are read by the audio threads.
#include <atomic>

constexpr int DefaultVolume = 100;

struct SettingsState {
    std::atomic<int> musicVolume{DefaultVolume}; // 0..100
    std::atomic<int> toneVolume{DefaultVolume}; // 0..100
    std::atomic<int> audioOffsetMs{0}; // how late the player hears and answers; -300..300
    int fullScreen = 0;
};

extern SettingsState settings;
