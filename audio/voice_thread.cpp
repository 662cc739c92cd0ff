#include "audio/voice_thread.h"

void voiceThread() {}
void openVoices() {}
void closeVoices() {}
double voicePitch(int) { return 0.0; }
void onVoiceBufferDone(PcmDevice, uintptr_t) {}
void requestVoiceReset() {}
