#pragma once
#include <atomic>
#include <cstdint>
#include <vorbis/vorbisfile.h>

#include "platform/pcm.h"

enum StreamState { Primed = 0, Streaming = 1, Draining = 2, Finished = 3 };

// The song's music on a device of its own: two large buffers played in turn, refilled from the
// decoder once the heard position shows one has been played through. A stream opened without
// a decoder plays a given length of silence the same way, so a song without music still has a
// clock and an end.
struct MusicStream {
    static constexpr uint32_t BufferCapacity = 51200;

    uint32_t bufferBytes = BufferCapacity;
    uint16_t bufferCount = 2;
    uint16_t writeIndex = 0;
    uint32_t queuedBytes = 0;
    uint32_t playedBytes = 0;
    uint32_t fillBytes = 0;
    double gain = 1.0;
    std::atomic<int> doneCount{0};     // main thread until Draining, audio thread after
    uint8_t *decodeScratch = nullptr;
    std::atomic<int> streamState{Finished};
    OggVorbis_File decoder{};
    bool decoderOpen = false;          // ov_fopen succeeded and ov_clear has not run yet
    uint64_t silentBytesLeft = 0;      // bytes of silence still to deliver (silent source)
    bool silentSource = false;
    PcmFormat format;
    PcmBuffer headers[2];
    PcmDevice device = 0;

    int openFile(const char *path);    // ov_fopen into decoder; 0 on success
    int open();
    int openSilent(uint32_t lengthMs);
    int refill();
    bool positionMs(uint32_t &outMs);  // false when the position is in no usable unit
    void close();
    static void onBufferDone(void *instance, PcmBuffer *buffer);
};
