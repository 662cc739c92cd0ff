#include "platform/pcm.h"

bool pcmStartOutput() { return false; }
void pcmStopOutput() {}
const char *pcmDriverName() { return "none"; }
int pcmOutputRate() { return 44100; }
int pcmOutputBufferFrames() { return 1024; }
