#pragma once
#include <cstdint>

#include "rules/voice_press.h"

// The voice as a key: held while the voice sounds, freshly pressed by each onset no call has taken
// yet. forgetSungTaps takes the onsets sung so far as seen, so that they press nothing.
VoiceKey readSungKey();
void forgetSungTaps();
// The capture's delay (the device's buffering and the detector's window) in whole milliseconds.
int voiceDelayMs();
// The play key this frame: the space key, or in voice mode the voice.
VoiceKey readPlayKey();
// In voice mode: the pointer goes to the sung pitch, brought to the octave nearest the note being
// judged (or to the pointer's last pitch after the last note), and the pitch joins the trail.
void steerPointerByVoice(uint32_t now);
// The song time the play key and the pointer stand for this frame, which the judgement goes by.
// With the mouse, the song time itself. A voice reading was sung the capture's delay earlier (the
// device's buffering and the detector's window): the press and the pitch are judged at that time,
// after the calibrated AudioOffset the song time already has taken off.
int judgedSongTimeMs();
