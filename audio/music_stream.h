#pragma once
#include <atomic>
#include <cstdint>
#include <string>

#include "platform/pcm.h"
#include "rules/stream_state.h"

// The decoder of an open music file; only music_stream.cpp knows what is inside.
struct MusicDecoder;

// The song's music on a device of its own: two large buffers played in turn, refilled from the
// decoder once the heard position shows one has been played through. A stream opened without
// a decoder plays a given length of silence the same way, so a song without music still has a
// clock and an end. A stream that was never opened reports Finished and position 0.
//
// Threads: the main thread runs every operation; onBufferDone runs on the audio thread (the
// device is closed, never reset, so no notice comes on the main thread). writtenCount is written
// by the main thread only, doneCount by the audio thread only once open has zeroed it; both sides
// may set Finished, and only once every written buffer has come back after the decoder ran out.
struct MusicStream {
    static constexpr uint32_t BufferCapacity = 51200;
    static constexpr uint32_t ReadPiece = 4096;

    uint32_t bufferBytes = BufferCapacity; // whole frames only: 51200 rounded down to a frame
    uint16_t bufferCount = 2;
    uint16_t writeIndex = 0;
    uint32_t queuedBytes = 0;
    uint32_t playedBytes = 0;
    uint32_t fillBytes = 0;
    double gain = 1.0;
    std::atomic<int> writtenCount{0}; // buffers the device accepted since open
    std::atomic<int> doneCount{0};    // buffers the device gave back since open
    std::atomic<int> streamState{Finished};
    int tracedState = Finished;      // the state the last trace line named
    MusicDecoder *decoder = nullptr; // the open file's decoder; null when none is open
    bool decoderOpen = false;        // the file opened and has not been closed since
    bool decoderEnded = false;       // the decoder met the end of the music, or damage
    std::string path;                // the music file, for messages
    std::string openFailure;         // why the last openFile failed, for the song start's message
    bool silentSource = false;
    uint64_t silentBytesLeft = 0; // bytes of silence still to deliver (silent source)
    PcmFormat format;
    PcmBuffer headers[2];
    PcmDevice device = 0;

    // Closes whatever is open, then opens the decoder on the file; 0 on success. Anything that is
    // not a regular file (a pipe, a device) is refused at once, never waited on; openFailure
    // then says why. Music damaged after its headers ends where decoding fails, with one line
    // on stderr naming the file and that position.
    int openFile(const char *filePath);
    // Decodes the first two buffers and opens the device; the music starts at the first refill.
    // Returns 0, or -1 when the decoder is not open or its format cannot be played (the stream
    // is then closed and Finished).
    int open();
    int openSilent(uint32_t lengthMs);
    // Once per frame: 1 when Finished.
    int refill();
    bool positionMs(uint32_t &outMs);
    // Safe to call any number of times; leaves streamState as it is.
    void close();
    static void onBufferDone(void *instance, PcmBuffer *buffer);
};

// Wiped at every song: the song's music, which the song start (game/) opens and the song's end,
// Escape or shutdown close. The main thread runs it; the audio thread returns its buffers.
extern MusicStream music;
