// The rules that turn a voice into the player's pitch and play key.
#include <gtest/gtest.h>

#include <cmath>

#include "rules/player_pitch.h"
#include "rules/voice_pitch.h"
#include "rules/voice_press.h"

TEST(VoiceRules, FoldsTheSungPitchToTheOctaveNearestTheTarget)
{
    struct Row {
        double sung, target, folded;
    } rows[] = {
        {0.0, 0.0, 0.0},      {-24.0, 0.0, 0.0}, // a low male voice two octaves under the written note
        {-19.0, 5.0, 5.0},    {-23.5, 0.0, 0.5}, // a quarter tone sharp of the low octave stays a quarter tone sharp
        {12.3, 0.0, 0.3},     {-5.0, 7.0, 7.0},  // seven up is nearer than five down
        {-6.0, 0.0, -6.0},                       // exactly half an octave: down
        {6.0, 0.0, -6.0},     {-30.0, -12.0, -6.0 - 12.0},
        {11.0, -13.0, -13.0}, {1.0, -24.0, -23.0},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(testing::Message() << row.sung << " towards " << row.target);
        EXPECT_NEAR(foldToNearestOctave(row.sung, row.target), row.folded, 1e-9);
    }
}

TEST(VoiceRules, SmoothsOnlyJitterAndLagsASteadyPitchByAtMostTenMs)
{
    struct Row {
        const char *what;
        double first, second;
        bool takenAtOnce;
    } rows[] = {
        {"a move of a semitone", 0.0, 1.0, true}, {"a move of exactly a quarter", 0.0, 0.25, true},
        {"a move down", 3.0, 2.7, true},          {"jitter of a fifth of a semitone", 0.0, 0.2, false},
        {"jitter down", 0.0, -0.1, false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        VoicePitchSmoothing smoothing;
        EXPECT_EQ(smoothVoicePitch(smoothing, row.first, 5.8), row.first); // the first reading is taken as it is
        const double next = smoothVoicePitch(smoothing, row.second, 5.8);
        if (row.takenAtOnce)
            EXPECT_EQ(next, row.second);
        else
            EXPECT_LT(std::fabs(next - row.first), std::fabs(row.second - row.first));
    }
    // A jitter step held steady is followed within the lag: by the first reading 10 ms (the time
    // constant) after it, at least 1 - 1/e of the way, for any hop.
    for (double hopMs : {1.0, 2.9, 5.8, 11.6}) {
        SCOPED_TRACE(hopMs);
        VoicePitchSmoothing smoothing;
        smoothVoicePitch(smoothing, 0.0, hopMs);
        double value = 0.0;
        for (double ms = 0.0; ms < VoiceSmoothingLagMs - 1e-9; ms += hopMs)
            value = smoothVoicePitch(smoothing, 0.2, hopMs);
        EXPECT_GE(value, 0.2 * (1.0 - std::exp(-1.0)) - 1e-9);
    }
}

TEST(VoiceRules, PointerPositionForAPitchIsTheMousesMappingReversed)
{
    struct Row {
        double pitch;
        int width, margin, octave;
    } rows[] = {{0.0, 640, 20, 4},    {-12.0, 640, 20, 4}, {11.5, 640, 20, 4},
                {-7.25, 1280, 20, 3}, {15.0, 800, 20, 5},  {3.0, 641, 20, 4}};
    for (const Row &row : rows) {
        SCOPED_TRACE(row.pitch);
        const double x = pointerXForPitch(row.pitch, row.width, row.margin, row.octave);
        EXPECT_NEAR(playerPitchAt(x, row.width, row.margin, row.octave), row.pitch, 1e-9);
    }
}

namespace {
constexpr double HopMs = 5.0;
const VoiceGateSetting Gate{-35.0, 0.8};
const VoiceFrame Sung{-20.0, 0.95};
const VoiceFrame Unsure{-20.0, 0.3}; // loud, but no clear pitch: a consonant, a cough
const VoiceFrame Quiet{-50.0, 0.95};

struct Step {
    VoiceFrame frame;
    int hops;
    bool downAfter;
    uint32_t onsetsAfter;
};
} // namespace

TEST(VoiceRules, VoicePressesOnOnsetHoldsThroughShortDipsAndReleasesAfterSixtyMs)
{
    struct Case {
        const char *what;
        std::vector<Step> steps;
    } cases[] = {
        {"onset presses", {{Quiet, 4, false, 0}, {Sung, 1, true, 1}}},
        {"loud but unsure is no onset", {{Unsure, 10, false, 0}, {Sung, 1, true, 1}}},
        {"unsure while held keeps it held", {{Sung, 1, true, 1}, {Unsure, 40, true, 1}}},
        {"a 55 ms dip is forgiven", {{Sung, 3, true, 1}, {Quiet, 11, true, 1}, {Sung, 3, true, 1}}},
        {"a 60 ms dip releases", {{Sung, 3, true, 1}, {Quiet, 11, true, 1}, {Quiet, 1, false, 1}}},
        {"the next syllable is a new press",
         {{Sung, 3, true, 1}, {Quiet, 16, false, 1}, {Sung, 1, true, 2}, {Quiet, 12, false, 2}, {Sung, 1, true, 3}}},
        {"level exactly at the gate is sung", {{VoiceFrame{-35.0, 0.8}, 1, true, 1}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        VoicePress press;
        for (size_t i = 0; i < c.steps.size(); i++) {
            for (int h = 0; h < c.steps[i].hops; h++)
                stepVoicePress(press, c.steps[i].frame, Gate, HopMs);
            EXPECT_EQ(press.down, c.steps[i].downAfter) << "step " << i;
            EXPECT_EQ(press.onsets, c.steps[i].onsetsAfter) << "step " << i;
        }
    }
}
