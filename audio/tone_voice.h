#pragma once
#include <atomic>
#include <cstdint>

#include "platform/pcm.h"

constexpr int VoiceCount = 3;
constexpr int RingSlots = 15;

// One of the three tone outputs, each with a ring of short buffers fed by the voice thread.
// openVoices sets up device and buffers before it publishes `opened`; the voice thread touches
// neither until it has seen `opened`.
struct ToneVoice {
    std::atomic<double> phase{0.0};
    std::atomic<int> ringWrite{0};
    std::atomic<int> ringDone{0};
    PcmDevice device = 0;
    PcmFormat format{1, 44100};
    PcmBuffer buffers[RingSlots];
    std::atomic<int> resetRequested{0};
    std::atomic<int> opened{0};
};

// Never wiped as a whole: the three tone outputs, opened at start-up and closed at shutdown. The
// voice thread writes ringWrite and phase; the window procedure's buffer notices write ringDone;
// resetPlayState (game/) rewinds the rings and phases at every song.
extern ToneVoice voices[VoiceCount];
