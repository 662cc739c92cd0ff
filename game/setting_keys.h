#pragma once
#include <cstdint>

// Never wiped: held-frame counts of the keys that change the player's settings, most on every screen.
struct SettingKeys {
    int musicDownHeldFrames = 0;  // -
    int musicUpHeldFrames = 0;    // =
    int toneDownHeldFrames = 0;   // [
    int toneUpHeldFrames = 0;     // ]
    int fullScreenHeldFrames = 0; // F11, or Enter with Alt held
    int inputModeHeldFrames = 0;  // V, on the title and select screens
};

extern SettingKeys settingKeys;

// The volume keys (repeating while held, through the menus' one gate) and the full-screen key,
// which switches once per press. Each change is saved at once.
void updateSettingKeys(uint32_t now);
