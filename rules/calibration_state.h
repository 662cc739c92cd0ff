#pragma once
// Wiped each time the calibration screen opens: the taps measured so far. Written by the
// calibration screen (game/), read by its drawing (gfx/).
//
// The calibration clock is the heard position of the click track, counted as the song clock
// counts the music: click i is heard when the clock reaches calibrationClickMs(i).
#include <cstdint>

constexpr int CalibrationLeadMs = 500; // silence before the first count-in click
constexpr int ClickIntervalMs = 500;
constexpr int CountInClicks = 2;
constexpr int MeasuredClicks = 16;
constexpr int AllClicks = CountInClicks + MeasuredClicks;
constexpr int MinimumCalibrationTaps = 8;
constexpr int OffsetScaleMs = 150; // the scale of the dots runs from -150 to +150 ms

// Heard time of click i, the count-in clicks first.
constexpr int calibrationClickMs(int i) { return CalibrationLeadMs + i * ClickIntervalMs; }
constexpr int FirstMeasuredClickMs = calibrationClickMs(CountInClicks);
// The track runs on for one more interval after the last click, so its tail is heard whole.
constexpr int ClickTrackMs = calibrationClickMs(AllClicks);

struct CalibrationState {
    static constexpr int MaxTaps = 64;
    int offsets[MaxTaps] = {}; // ms, in the order tapped
    int tapCount = 0;
    double medianMs = 0.0;
    double spreadMs = 0.0;    // median absolute deviation
    int clicksHeard = 0;      // of AllClicks, the count-in included
    int tapKeyHeldFrames = 0; // space
    // Without a click device the timer stands in for the heard position, as for the song clock.
    uint32_t timerStartMs = 0;
};

extern CalibrationState calibration;
