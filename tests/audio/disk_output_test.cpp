// The real SDL backend writing to a file: a held tone at the centre of the field is 523 Hz.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "app/app_context.h"
#include "audio/audio_output.h"
#include "audio/voice_thread.h"
#include "audio/voice_wake.h"
#include "audio_test_support.h"
#include "platform/thread.h"

namespace {

// Rising zero crossings of the left channel, in frames.
std::vector<double> risingCrossings(const std::vector<int16_t> &stereo)
{
    std::vector<double> crossings;
    for (size_t i = 1; i < stereo.size() / 2; i++) {
        const int before = stereo[2 * (i - 1)], now = stereo[2 * i];
        if (before < 0 && now >= 0)
            crossings.push_back(double(i - 1) + double(-before) / (now - before));
    }
    return crossings;
}

TEST(DiskOutput, HeldToneAtTheCentreOfTheFieldSoundsAt523Hz)
{
    const TempFile file("disk_output.raw");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    resetAppContext();
    startAudioOutput();
    ASSERT_STREQ(pcmDriverName(), "disk");
    openVoices();
    menu.state.store(Play);
    music.streamState.store(Streaming);
    window.pointerX.store(window.clientWidth.load() / 2);
    play.keyHeldFrames.store(1);
    shell.voiceThreadRunning.store(1);
    PlatformThread *voices = threadStart(voiceThread);
    // The main thread's part: hand the done notices to the voices, as the window procedure does.
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(700);
    while (std::chrono::steady_clock::now() < end) {
        deliverVoiceNotices();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    shell.voiceThreadRunning.store(0);
    wakeVoiceThread();
    threadJoin(voices);
    stopAudioOutput();
    closeVoices();

    std::ifstream in(file.path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);

    // Periods between neighbouring crossings; a gap in the tone would show as a long one.
    const std::vector<double> crossings = risingCrossings(samples);
    ASSERT_GT(crossings.size(), 150u); // at least 0.3 s of tone
    std::vector<double> periods;
    for (size_t i = 1; i < crossings.size(); i++)
        periods.push_back(crossings[i] - crossings[i - 1]);
    std::sort(periods.begin(), periods.end());
    const double median = periods[periods.size() / 2];
    EXPECT_NEAR(44100.0 / median, 523.0, 1.0);
    EXPECT_LT(periods.back(), 1.5 * median); // no gap while the key was held
}

} // namespace
