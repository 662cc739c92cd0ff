#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "app/app_context.h"
#include "audio/synthesizer.h"

namespace {

// Voice 0 with slots of `samples` samples, and voiceGain 1 so that levels read as in the table.
class Synthesizer : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetAppContext();
        window.voiceGain.store(1.0);
        setSlotSamples(882);
    }
    void setSlotSamples(int samples)
    {
        for (int slot = 0; slot < 2; slot++) {
            storage[slot].assign(size_t(samples) * 2, 0xAB);
            voices[0].buffers[slot].data = storage[slot].data();
            voices[0].buffers[slot].length = uint32_t(samples * 2);
        }
    }
    std::vector<int16_t> synthesize(int slot, double pitch, int waveType)
    {
        menu.waveType.store(waveType);
        synthesizeBuffer(slot, 0, pitch);
        std::vector<int16_t> samples(storage[slot].size() / 2);
        std::memcpy(samples.data(), storage[slot].data(), storage[slot].size());
        return samples;
    }
    std::vector<uint8_t> storage[2];
};

TEST_F(Synthesizer, SquareEdgesFollowThePeriodOfEachPitch)
{
    // Pitch 0 is 523 Hz: 84.32 samples a cycle, so the first half ends after sample 42.
    struct Case {
        double pitch;
        int lastHigh, firstLowAgainEnd, nextHigh;
    };
    const Case cases[] = {{0.0, 42, 84, 85}, {12.0, 21, 42, 43}, {-12.0, 84, 168, 169}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pitch);
        voices[0].phase.store(0.0);
        const std::vector<int16_t> s = synthesize(0, c.pitch, 1);
        for (int i = 0; i <= c.lastHigh; i++)
            ASSERT_EQ(s[i], 6144) << i;
        for (int i = c.lastHigh + 1; i <= c.firstLowAgainEnd; i++)
            ASSERT_EQ(s[i], -6144) << i;
        EXPECT_EQ(s[c.nextHigh], 6144);
    }
}

TEST_F(Synthesizer, LevelsAtTheStartOfEachWaveform)
{
    struct Case {
        int waveType;
        int16_t first;
        int16_t quarterCycle; // sample 21 of 84.32
    };
    const Case cases[] = {
        {0, 0, 8191},                     // sine: sin(2 pi 21/84.32) * 8192, truncated
        {1, 6144, 6144}, {2, 6144, 6144}, // pulse: high for a quarter, 21.08 samples
        {3, 10240, 39},                   // triangle from its peak, down through zero at a quarter
        {4, 6144, 3083},                  // falling sawtooth
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.waveType);
        voices[0].phase.store(0.0);
        const std::vector<int16_t> s = synthesize(0, 0.0, c.waveType);
        EXPECT_EQ(s[0], c.first);
        EXPECT_EQ(s[21], c.quarterCycle);
    }
    voices[0].phase.store(0.0);
    const std::vector<int16_t> pulse = synthesize(0, 0.0, 2);
    EXPECT_EQ(pulse[22], -6144);
}

TEST_F(Synthesizer, TriangleReachesItsTroughAtHalfACycle)
{
    const std::vector<int16_t> s = synthesize(0, 0.0, 3);
    EXPECT_EQ(s[42], -10161); // w = 42 / 84.32, just before the trough
    EXPECT_EQ(s[43], -9832);  // and just past it, rising again
    EXPECT_EQ(*std::min_element(s.begin(), s.begin() + 84), s[42]);
}

TEST_F(Synthesizer, ZeroGainWritesSilenceAndStillAdvancesThePhase)
{
    window.voiceGain.store(0.0);
    const std::vector<int16_t> silent = synthesize(0, 0.0, 4);
    for (int16_t sample : silent)
        ASSERT_EQ(sample, 0);
    const double phaseAfterSilence = voices[0].phase.load();
    EXPECT_GT(phaseAfterSilence, 0.0);
    voices[0].phase.store(0.0);
    window.voiceGain.store(1.0);
    synthesize(0, 0.0, 4);
    EXPECT_EQ(voices[0].phase.load(), phaseAfterSilence);
}

// The tone volume scales the level after the pointer's gain; 100 leaves every sample as it was.
TEST_F(Synthesizer, ToneVolumeScalesTheLevel)
{
    window.voiceGain.store(0.8);
    const std::vector<int16_t> full = synthesize(0, 0.0, 4);
    for (int volume : {100, 55, 0}) {
        SCOPED_TRACE(volume);
        settings.toneVolume.store(volume);
        voices[0].phase.store(0.0);
        const std::vector<int16_t> got = synthesize(0, 0.0, 4);
        voices[0].phase.store(0.0);
        settings.toneVolume.store(100);
        window.voiceGain.store(0.8 * volume / 100.0);
        const std::vector<int16_t> expected = synthesize(0, 0.0, 4);
        window.voiceGain.store(0.8);
        EXPECT_EQ(got, expected);
        if (volume == 100) {
            EXPECT_EQ(got, full);
        }
    }
}

TEST_F(Synthesizer, ConsecutiveBuffersContinueOneWaveform)
{
    for (int waveType = 0; waveType < 5; waveType++) {
        SCOPED_TRACE(waveType);
        setSlotSamples(1764);
        voices[0].phase.store(0.0);
        const std::vector<int16_t> whole = synthesize(0, 3.0, waveType);
        setSlotSamples(882);
        voices[0].phase.store(0.0);
        std::vector<int16_t> halves = synthesize(0, 3.0, waveType);
        const std::vector<int16_t> second = synthesize(1, 3.0, waveType);
        halves.insert(halves.end(), second.begin(), second.end());
        for (size_t i = 0; i < whole.size(); i++)
            ASSERT_NEAR(whole[i], halves[i], 1) << i; // one step of rounding at most
    }
}

TEST_F(Synthesizer, PitchChangeKeepsTheWaveformPositionAtTheBoundary)
{
    // Falling sawtooth: each sample steps down by 12288 / period. 882 samples end 0.46 into a
    // cycle, so no wrap falls on the boundary.
    const std::vector<int16_t> low = synthesize(0, 0.0, 4);
    const std::vector<int16_t> high = synthesize(1, 12.0, 4);
    const double lowStep = 12288 / (44100.0 / 523);
    const double highStep = 12288 / (44100.0 / 1046);
    EXPECT_NEAR(low[880] - low[881], lowStep, 2);
    EXPECT_NEAR(low[881] - high[0], lowStep, 2); // the old pitch's step, then the new one's
    EXPECT_NEAR(high[0] - high[1], highStep, 2);
}

TEST_F(Synthesizer, WaveTypeChangeReadsTheStoredPhaseInTheNewUnit)
{
    synthesize(0, 0.0, 0);
    const double radians = voices[0].phase.load();
    ASSERT_GT(radians, 1.0); // a phase only the sine can have
    const std::vector<int16_t> saw = synthesize(1, 0.0, 4);
    const double w = radians - std::trunc(radians);
    EXPECT_EQ(saw[0], int16_t(std::trunc(6144 - 12288 * w)));
    const double cycles = voices[0].phase.load();
    EXPECT_GE(cycles, 0.0);
    EXPECT_LT(cycles, 1.0);
}

TEST_F(Synthesizer, PitchesWithoutAFiniteValueAreClampedSoEveryBufferEnds)
{
    const double pitches[] = {INFINITY, -INFINITY, NAN, 1e9, -1e9};
    for (double pitch : pitches) {
        for (int waveType = 0; waveType < 5; waveType++) {
            voices[0].phase.store(0.0);
            const std::vector<int16_t> s = synthesize(0, pitch, waveType);
            const double phase = voices[0].phase.load();
            EXPECT_TRUE(std::isfinite(phase));
            EXPECT_LT(phase, waveType == 0 ? 6.283185307179586 : 1.0);
            for (int16_t sample : s)
                ASSERT_LE(std::abs(sample), 10240);
        }
    }
    EXPECT_EQ(playablePitch(NAN), 0.0);
    EXPECT_EQ(playablePitch(INFINITY), 96.0);
    EXPECT_EQ(playablePitch(-5.5), -5.5);
}

} // namespace
