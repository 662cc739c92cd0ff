#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "app/app_context.h"
#include "audio/calibration_clicks.h"
#include "platform/core/pcm_mixer.h"
#include "platform/fake/fake_platform.h"
#include "platform/pcm.h"
#include "rules/calibration_state.h"

namespace {

constexpr int Rate = 44100;

size_t sampleAt(int ms) { return size_t(ms) * Rate / 1000; }

TEST(CalibrationClicks, EachClickStartsOnTheSampleOfItsHeardTime)
{
    const std::vector<int16_t> samples = calibrationClickSamples();
    ASSERT_EQ(samples.size(), sampleAt(ClickTrackMs));
    size_t silentUntil = 0;
    for (int i = 0; i < AllClicks; i++) {
        SCOPED_TRACE(i);
        const size_t onset = sampleAt(calibrationClickMs(i));
        for (size_t s = silentUntil; s < onset; s++)
            ASSERT_EQ(samples[s], 0) << "silence before the click, sample " << s;
        EXPECT_GT(samples[onset], 8000) << "the click starts at its peak";
        // A short click: gone well before the next one.
        const size_t end = onset + sampleAt(40);
        for (size_t s = end; s < onset + sampleAt(ClickIntervalMs) && s < samples.size(); s++)
            ASSERT_EQ(samples[s], 0) << s;
        silentUntil = end;
    }
}

// Samples until the first sign change after the onset: a higher click changes sign sooner.
size_t halfCycle(const std::vector<int16_t> &samples, size_t onset)
{
    size_t s = onset;
    while (s < samples.size() && samples[s] > 0)
        s++;
    return s - onset;
}

TEST(CalibrationClicks, CountInSoundsLowerThanTheMeasuredClicks)
{
    const std::vector<int16_t> samples = calibrationClickSamples();
    const size_t countIn = halfCycle(samples, sampleAt(calibrationClickMs(0)));
    const size_t measured = halfCycle(samples, sampleAt(FirstMeasuredClickMs));
    EXPECT_GT(countIn, measured + measured / 2);
}

// The clock that says a click was heard reaches the click's time in the very pull that carries its
// onset out of the mixer (the fake output hears what is mixed at once).
TEST(CalibrationClicks, HeardClockReachesEachClickWhenItLeavesTheMixer)
{
    resetAppContext();
    fakeResetPlatform();
    fakeSetTimeMs(5000);
    pcmStartOutput();
    ASSERT_TRUE(startCalibrationClicks());
    constexpr int PullFrames = Rate / 1000; // 1 ms
    std::vector<int16_t> out(size_t(PullFrames) * PcmMixChannels);
    int nextClick = 0;
    uint32_t heardMs = 0;
    for (int ms = 0; ms < ClickTrackMs && nextClick < AllClicks; ms++) {
        ASSERT_TRUE(calibrationClicksHeardMs(heardMs));
        fakeAdvanceTimeMs(1);
        pcmMixerPull(out.data(), PullFrames);
        bool onset = false;
        for (int16_t sample : out)
            onset = onset || std::abs(sample) > 1000;
        uint32_t afterMs = 0;
        ASSERT_TRUE(calibrationClicksHeardMs(afterMs));
        const int clickMs = calibrationClickMs(nextClick);
        if (onset) {
            EXPECT_LE(heardMs, uint32_t(clickMs)) << "click " << nextClick;
            EXPECT_GE(afterMs, uint32_t(clickMs)) << "click " << nextClick;
            nextClick++;
            // Skip the rest of this click's sound.
            for (int k = 0; k < 40; k++, ms++) {
                fakeAdvanceTimeMs(1);
                pcmMixerPull(out.data(), PullFrames);
            }
        }
    }
    EXPECT_EQ(nextClick, AllClicks);
    stopCalibrationClicks();
    EXPECT_FALSE(calibrationClicksHeardMs(heardMs));
}

} // namespace
