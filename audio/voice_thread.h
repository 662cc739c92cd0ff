#pragma once
#include <cstdint>

#include "platform/pcm.h"

void voiceThread();
void openVoices();
void closeVoices();
double voicePitch(int voiceIndex);
// Main thread: a voice device returned the buffer whose user value is `user`.
void onVoiceBufferDone(PcmDevice device, uintptr_t user);
// Asks the voice thread to silence every voice and restart its phase.
void requestVoiceReset();
