#include "platform/pcm.h"

int pcmOpen(PcmDevice *out, const PcmFormat &, PcmDoneCallback, void *) { *out = 0; return 0; }
int pcmWrite(PcmDevice, PcmBuffer *) { return 0; }
void pcmReset(PcmDevice) {}
uint64_t pcmPositionFrames(PcmDevice) { return 0; }
void pcmClose(PcmDevice) {}
bool pcmTakeWindowNotice(PcmDevice *, uintptr_t *) { return false; }
