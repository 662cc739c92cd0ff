#pragma once
// For the run: the player's own settings beyond the buffer length, read from conf.ini at start-up
// (app/) and changed by the menus, the calibration screen and the window keys (game/), which save
// each change at once. The volumes are read by the audio threads. The volume bar's stamp is set by
// the volume keys and read by the renderer.
#include <atomic>
#include <cstdint>

constexpr int DefaultVolume = 100;
constexpr int VolumeStep = 5;
constexpr int MaximumAudioOffsetMs = 300;

enum class VolumeShown { None, Music, Tone };

struct SettingsState {
    std::atomic<int> musicVolume{DefaultVolume}; // 0..100
    std::atomic<int> toneVolume{DefaultVolume};  // 0..100
    std::atomic<int> audioOffsetMs{0};           // how late the player hears and answers; -300..300
    int fullScreen = 0;
    VolumeShown volumeShown = VolumeShown::None; // the volume last changed, shown as a bar
    uint32_t volumeChangeTime = 0;               // timer ms of that change
};

extern SettingsState settings;

// The volume after `steps` presses of VolumeStep, kept within 0..100.
int steppedVolume(int volume, int steps);
