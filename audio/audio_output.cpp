#include "audio/audio_output.h"

void startAudioOutput() {}
void stopAudioOutput() {}
