#include "game/input_mode.h"

#include "audio/voice_capture.h"
#include "game/repeat_gate.h"
#include "game/setting_keys.h"
#include "game/setting_save.h"
#include "game/voice_play.h"
#include "platform/keys.h"
#include "platform/trace.h"
#include "rules/atomic_access.h"
#include "rules/menu_state.h"
#include "rules/voice_mode_state.h"

namespace {
const char *inputName(int input) { return input == InputVoice ? "voice" : "mouse"; }
} // namespace

void setInputMode(int input)
{
    voiceMode.input = input == InputVoice ? InputVoice : InputMouse;
    if (voiceMode.input == InputVoice && voiceMode.captureOpen == 0) {
        voiceReadout.gateDb.store(float(voiceMode.gateDb), std::memory_order_relaxed);
        voiceMode.captureOpen = voiceCaptureStart() ? 1 : 0;
        forgetSungTaps();
    } else if (voiceMode.input == InputMouse) {
        stopVoiceInput();
    }
    storeRelaxed(voiceMode.toneMuted, voiceDrivesPlay() && voiceMode.toneInVoiceMode == 0 ? 1 : 0);
}

void updateInputMode()
{
    voiceMode.levelDb = voiceDrivesPlay() ? loadRelaxed(voiceReadout.levelDb) : -120.0;
    const int state = loadRelaxed(menu.state);
    settingKeys.inputModeHeldFrames = countHeldFrames(settingKeys.inputModeHeldFrames, keyIsDown(KeyV));
    if (settingKeys.inputModeHeldFrames != 1 || (state != Title && state != Select))
        return;
    setInputMode(voiceMode.input == InputVoice ? InputMouse : InputVoice);
    trace("input %s", inputName(voiceMode.input));
    saveSetting("Input", inputName(voiceMode.input));
}

void stopVoiceInput()
{
    voiceCaptureStop();
    voiceMode.captureOpen = 0;
    storeRelaxed(voiceMode.toneMuted, 0);
}
