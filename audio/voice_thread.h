#pragma once
#include <cstdint>

#include "platform/pcm.h"

// Started before openVoices; runs a feeding pass whenever woken (audio/voice_wake.h) while
// voiceThreadRunning is 1.
void voiceThread();
// One pass of the thread: resets requested voices and tops up the rings of the active ones.
void feedVoices(uint16_t queueTarget);
void openVoices();
void closeVoices();
double voicePitch(int voiceIndex);
// Main thread: a voice device returned the buffer whose user value is `user`.
void onVoiceBufferDone(PcmDevice device, uintptr_t user);
// Asks the voice thread to silence every voice and restart its phase.
void requestVoiceReset();

// Counts derived from BufferLength (milliseconds).
uint32_t voiceSlotBytes(int bufferLengthMs);
uint16_t voiceQueueTarget(int bufferLengthMs);
int voiceBurstCount(int bufferLengthMs);
