#include "app/apply_player_settings.h"

#include "game/input_mode.h"
#include "platform/window.h"
#include "rules/menu_state.h"
#include "rules/settings_state.h"

void applyPlayerSettings(const PlayerSettings &player)
{
    menu.waveType.store(player.wave, std::memory_order_relaxed);
    menu.unison.store(player.unison, std::memory_order_relaxed);
    menu.scrollSpeed = player.scrollSpeed;
    settings.musicVolume.store(player.musicVolume, std::memory_order_relaxed);
    settings.toneVolume.store(player.toneVolume, std::memory_order_relaxed);
    settings.audioOffsetMs.store(player.audioOffsetMs, std::memory_order_relaxed);
    settings.fullScreen = player.fullScreen;
    if (player.fullScreen)
        windowSetFullScreen(true);
    voiceMode.toneInVoiceMode = player.voiceTone;
    voiceMode.gateDb = player.voiceGateDb;
    setInputMode(player.input);
}
