#include "game/menus.h"

#include "game/calibration_screen.h"
#include "game/help_keys.h"
#include "game/input_mode.h"
#include "game/key_wait.h"
#include "game/menu_keys.h"
#include "game/select_screen.h"
#include "game/setting_keys.h"
#include "game/setting_save.h"
#include "game/song_sound.h"
#include "library/catalogue.h"
#include "platform/keys.h"
#include "platform/timer.h"
#include "rules/atomic_access.h"
#include "rules/credit_state.h"
#include "rules/menu_state.h"
#include "rules/play_state.h"
#include "rules/shell_state.h"
#include "rules/voice_gain.h"
#include "rules/wave_type.h"
#include "rules/window_state.h"

namespace {

constexpr uint32_t ResultScreenLockMs = 2000;

void updateSynthKeys(uint32_t now)
{
    menu.waveKeyHeldFrames = countHeldFrames(menu.waveKeyHeldFrames, keyOrControlHeld(KeyW, CodeWaveType));
    if (passRepeatGate(menu.waveKeyHeldFrames, now, menu.lastRepeatTime)) {
        const int waveType = (loadRelaxed(menu.waveType) + 1) % WaveTypeCount;
        storeRelaxed(menu.waveType, waveType);
        saveSetting("Wave", waveType);
    }

    menu.unisonKeyHeldFrames = countHeldFrames(menu.unisonKeyHeldFrames, keyOrControlHeld(KeyE, CodeUnison));
    if (passRepeatGate(menu.unisonKeyHeldFrames, now, menu.lastRepeatTime)) {
        const int unison = (loadRelaxed(menu.unison) + 1) % 2;
        storeRelaxed(menu.unison, unison);
        saveSetting("Unison", unison);
        storeRelaxed(window.voiceGain,
                     voiceGainForPointer(static_cast<int>(window.pointerY), loadRelaxed(window.clientHeight), unison));
    }
}

void startCredit()
{
    storeRelaxed(menu.state, Select);
    credit.stage = 0;
    menu.selectedSong = 0;
    credit.extraUnlocked = 0;
    for (int &count : credit.creditJudgementCounts)
        count = 0;
    for (int &score : credit.stageScores)
        score = 0;
    credit.creditScore = 0;
    for (SongEntry &entry : catalogue.songs)
        entry.played = 0;
}

void updateTitleScreen()
{
    if (keyIsDown(KeyEscape)) {
        stopSongSound();
        storeRelaxed(menu.state, Title);
        shell.quitRequested = 1;
    }
    if (keyIsDown(KeySpace)) {
        waitForKeyRelease(KeySpace, 1);
        startCredit();
    } else if (keyIsDown(KeyC)) {
        waitForKeyRelease(KeyC, 1);
        startCalibration();
    }
}

void updateResultScreen(uint32_t now)
{
    if (!keyIsDown(KeySpace) || now - play.resultTime <= ResultScreenLockMs)
        return;
    waitForKeyRelease(KeySpace, 1);
    storeRelaxed(menu.state, Title);
    credit.stage = 0;
    play.phaseStartTime = timerNowMs();
}

} // namespace

void updateMenus()
{
    const uint32_t now = timerNowMs();
    if (updateHelpPage(loadRelaxed(menu.state)))
        return;
    updateSynthKeys(now);
    updateSettingKeys(now);
    updateInputMode();
    switch (loadRelaxed(menu.state)) {
    case Select:
        updateSelectScreen(now);
        break;
    case Title:
        updateTitleScreen();
        break;
    case Result:
        updateResultScreen(now);
        break;
    case Calibrate:
        updateCalibrationScreen();
        break;
    default:
        break; // the play update follows in the same frame
    }
}
