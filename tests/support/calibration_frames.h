#pragma once
// The calibration screen's time on the fake platform: frames of 10 ms with the mixer pulled in
// step, so the calibration clock (the music frames mixed so far) is known to the millisecond.
#include <cstdint>
#include <vector>

#include "app/app_context.h"
#include "platform/core/pcm_mixer.h"
#include "platform/fake/fake_platform.h"
#include "platform/pcm.h"

struct CalibrationFrames {
    static constexpr int FrameMs = 10;
    static constexpr int FrameMixFrames = PcmMixRate * FrameMs / 1000;
    int clockMs = 0;
    std::vector<int16_t> pulled = std::vector<int16_t>(size_t(FrameMixFrames) * PcmMixChannels);

    // A fresh game on a fresh fake platform, its output started.
    static void startGame()
    {
        resetAppContext();
        fakeResetPlatform();
        fakeSetTimeMs(10000);
        pcmStartOutput();
    }

    // Moves the fake time and the mixed music on by one frame.
    void advance()
    {
        fakeAdvanceTimeMs(FrameMs);
        pcmMixerPull(pulled.data(), FrameMixFrames);
        clockMs += FrameMs;
    }
};
