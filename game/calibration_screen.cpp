#include "game/calibration_screen.h"

#include "audio/calibration_clicks.h"
#include "game/calibration_tap.h"
#include "game/key_wait.h"
#include "game/repeat_gate.h"
#include "game/setting_save.h"
#include "game/voice_play.h"
#include "platform/keys.h"
#include "platform/timer.h"
#include "platform/trace.h"
#include "rules/atomic_access.h"
#include "rules/calibration_state.h"
#include "rules/calibration_stats.h"
#include "rules/menu_state.h"
#include "rules/settings_state.h"

namespace {

uint32_t calibrationClockMs()
{
    uint32_t heardMs = 0;
    if (calibrationClicksHeardMs(heardMs))
        return heardMs;
    return timerNowMs() - calibration.timerStartMs;
}

void traceClicksHeard(uint32_t clockMs)
{
    while (calibration.clicksHeard < AllClicks &&
           clockMs >= static_cast<uint32_t>(calibrationClickMs(calibration.clicksHeard))) {
        if (calibration.clicksHeard >= CountInClicks)
            trace("calibrate click %d", calibrationClickMs(calibration.clicksHeard));
        calibration.clicksHeard++;
    }
}

void saveMedianOffset()
{
    // Every offset lies within half an interval of its click, so the median stays inside the
    // setting's -300..300 range.
    const int offset = roundedMs(calibration.medianMs);
    trace("calibrate result offset=%d spread=%d taps=%d", offset, roundedMs(calibration.spreadMs),
          calibration.tapCount);
    storeRelaxed(settings.audioOffsetMs, offset);
    saveSetting("AudioOffset", offset);
}

// The key is let go first: Escape still down on the title would quit the game.
void leaveToTitle(int key)
{
    waitForKeyRelease(key, 1);
    stopCalibrationClicks();
    storeRelaxed(menu.state, Title);
}

} // namespace

void startCalibration()
{
    calibration = CalibrationState{};
    // A space held from the title is not a tap.
    calibration.tapKeyHeldFrames = countHeldFrames(0, keyIsDown(KeySpace));
    forgetSungTaps();
    calibration.timerStartMs = timerNowMs();
    startCalibrationClicks();
    storeRelaxed(menu.state, Calibrate);
}

void updateCalibrationScreen()
{
    const uint32_t clockMs = calibrationClockMs();
    traceClicksHeard(clockMs);

    // One poll: a tap shorter than a frame reads as down for this poll only.
    calibration.tapKeyHeldFrames = countHeldFrames(calibration.tapKeyHeldFrames, keyIsDown(KeySpace));
    if (calibration.tapKeyHeldFrames == 1)
        calibrationTap(clockMs);
    takeSungTaps(clockMs);

    if (keyIsDown(KeyEscape)) {
        leaveToTitle(KeyEscape);
        return;
    }
    // Alt+Enter is the full-screen switch, not a request to save.
    const bool saveKey = keyIsDown(KeyEnter) && !keyIsDown(KeyAlt);
    if (saveKey && calibration.tapCount >= MinimumCalibrationTaps) {
        saveMedianOffset();
        leaveToTitle(KeyEnter);
    }
}
