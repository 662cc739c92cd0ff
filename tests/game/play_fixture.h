#pragma once
// A song on the play screen for rule tests: a chart built in memory, the fake clock and keys, and
// frames run through the play rules with a song clock the test chooses.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "app/app_context.h"
#include "library/chart.h"

struct TestNote {
    uint32_t timeMs = 0;
    double pitch = 0.0;
    int linked = 0;
    int ghost = 0;
    int octaveShift = 0;
};

// Timer time at song clock 0 unless a test moves it; far from 0 so that unsigned timer
// differences stay plain.
constexpr uint32_t TimerAtClockZero = 100000;

// The timer time at clock zero that puts the timer's wrap-around at song time `t`.
constexpr uint32_t timerWrappingAt(int t) { return 0u - static_cast<uint32_t>(t); }

// Links the notes as the chart parser does: next and prev skip ghost notes, one spare record.
void loadTestChart(const std::vector<TestNote> &notes, uint32_t msPerBeat = 500, uint16_t level = 3);

// Puts the cursor on note `index`, as if every note before it had been judged.
void moveCursorTo(int32_t index);

// Pointer position (client pixels) that plays `pitch` while the octave is 4.
double pointerXForPitch(double pitch);

class PlayFixture : public ::testing::Test {
protected:
    void SetUp() override;

    // A song of the one-entry catalogue on the play screen, music streaming, key not yet let go.
    void beginSong(bool autoplay = false);

    // One frame at song clock t with the key and the pointer as given.
    void frame(int t, bool keyDown, double pitch);
    // One frame leaving key and pointer as they are.
    void frame(int t);

    int count(Judgement judgement) const { return play.judgementCounts[judgement]; }

    // Set before beginSong: the timer time at song clock 0. Placed just below 2^32, the timer
    // wraps round during the song.
    uint32_t clockZeroTimer = TimerAtClockZero;
    int recorded() const { return count(Miss) + count(Good) + count(Great); }
};
