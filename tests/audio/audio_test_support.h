#pragma once
// Shared by the audio tests: a clock the tests move by hand, pulls of the mixer, temp files.
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "audio/voice_thread.h"
#include "platform/core/pcm_mixer.h"
#include "platform/pcm.h"

inline uint64_t testClockNowUs = 0;
inline uint64_t testClockUs() { return testClockNowUs; }

// A fresh output whose clock stands still unless the test moves testClockNowUs.
inline void startTestOutput(int latencyFrames = 0)
{
    testClockNowUs = 0;
    pcmMixerStartOutput(latencyFrames, testClockUs);
}

// Pulls `frames` stereo frames and returns them interleaved.
inline std::vector<int16_t> pullFrames(int frames)
{
    std::vector<int16_t> out(size_t(frames) * PcmMixChannels);
    pcmMixerPull(out.data(), frames);
    return out;
}

// A file in the temp folder under a name that parallel test processes do not share, removed
// when the test lets go of it.
struct TempFile {
    std::string path;

    explicit TempFile(const std::string &name)
        : path(::testing::TempDir() + "lumatide_audio_" + std::to_string(getpid()) + "_" + name)
    {
    }
    TempFile(TempFile &&other) noexcept : path(std::move(other.path)) { other.path.clear(); }
    TempFile(const TempFile &) = delete;
    TempFile &operator=(const TempFile &) = delete;
    ~TempFile()
    {
        if (!path.empty())
            std::remove(path.c_str());
    }
    const char *c_str() const { return path.c_str(); }
};

// Hands every waiting done notice to the voices, as the window procedure does; returns how many.
inline int deliverVoiceNotices()
{
    int delivered = 0;
    PcmDevice device = 0;
    uintptr_t user = 0;
    while (pcmTakeWindowNotice(&device, &user)) {
        onVoiceBufferDone(device, user);
        delivered++;
    }
    return delivered;
}
