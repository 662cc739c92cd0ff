#pragma once
#include <cstdint>

#include "rules/voice_press.h"

// The play key this frame: the space key, or in voice mode the voice.
VoiceKey readPlayKey();
// In voice mode: the pointer goes to the sung pitch, brought to the octave nearest the note being
// judged (or to the pointer's last pitch after the last note), and the pitch joins the trail.
void steerPointerByVoice(uint32_t now);
