#include "game/setting_keys.h"

#include <atomic>

#include "game/repeat_gate.h"
#include "game/setting_save.h"
#include "platform/keys.h"
#include "platform/trace.h"
#include "platform/window.h"
#include "rules/atomic_access.h"
#include "rules/menu_state.h"
#include "rules/settings_state.h"

SettingKeys settingKeys;

namespace {

struct VolumeKey {
    int virtualKey;
    int SettingKeys::*heldFrames;
    int steps;
    std::atomic<int> SettingsState::*volume;
    VolumeShown shown;
    const char *name;
};

const VolumeKey VolumeKeys[] = {
    {KeyMinus, &SettingKeys::musicDownHeldFrames, -1, &SettingsState::musicVolume, VolumeShown::Music, "MusicVolume"},
    {KeyEquals, &SettingKeys::musicUpHeldFrames, +1, &SettingsState::musicVolume, VolumeShown::Music, "MusicVolume"},
    {KeyLeftBracket, &SettingKeys::toneDownHeldFrames, -1, &SettingsState::toneVolume, VolumeShown::Tone, "ToneVolume"},
    {KeyRightBracket, &SettingKeys::toneUpHeldFrames, +1, &SettingsState::toneVolume, VolumeShown::Tone, "ToneVolume"},
};

void updateVolumeKey(const VolumeKey &key, uint32_t now)
{
    int &held = settingKeys.*key.heldFrames;
    held = countHeldFrames(held, keyIsDown(key.virtualKey));
    if (!passRepeatGate(held, now, menu.lastRepeatTime))
        return;
    // A press at either end still shows the bar, so the player sees why nothing changed.
    settings.volumeShown = key.shown;
    settings.volumeChangeTime = now;
    std::atomic<int> &volume = settings.*key.volume;
    const int before = loadRelaxed(volume);
    const int after = steppedVolume(before, key.steps);
    if (after == before)
        return;
    storeRelaxed(volume, after);
    saveSetting(key.name, after);
}

void toggleFullScreen()
{
    settings.fullScreen = 1 - settings.fullScreen;
    windowSetFullScreen(settings.fullScreen != 0);
    trace("fullscreen %d", settings.fullScreen);
    saveSetting("FullScreen", settings.fullScreen);
}

} // namespace

void updateSettingKeys(uint32_t now)
{
    for (const VolumeKey &key : VolumeKeys)
        updateVolumeKey(key, now);
    // Enter is polled only with Alt down: a tap reads as down for one poll, which the calibration's
    // save must get.
    const bool fullScreenKey = keyIsDown(KeyF11) || (keyIsDown(KeyAlt) && keyIsDown(KeyEnter));
    settingKeys.fullScreenHeldFrames = countHeldFrames(settingKeys.fullScreenHeldFrames, fullScreenKey);
    if (settingKeys.fullScreenHeldFrames == 1)
        toggleFullScreen();
}
