#pragma once
#include "platform/pcm.h"

// Closes a device, then frees the buffers it held: once closed it can no longer touch them.
template <int Count>
void closeDeviceAndFreeBuffers(PcmDevice &device, PcmBuffer (&buffers)[Count])
{
    pcmClose(device);
    device = 0;
    for (PcmBuffer &buffer : buffers) {
        delete[] buffer.data;
        buffer.data = nullptr;
        buffer.length = 0;
    }
}
