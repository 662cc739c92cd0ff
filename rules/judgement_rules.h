#pragma once
#include <cstdint>

#include "rules/clock_math.h"
#include "rules/judgement.h"

// The timing and pitch tables that judge the current note, as pure functions of one frame's
// numbers. Times are song-clock milliseconds; `t` is the clock, `noteTime` the note's time.

// A press this close to a note's time, on its pitch, takes it as GREAT, or else as GOOD.
constexpr uint32_t GreatWindowMs = 75;
constexpr uint32_t GoodWindowMs = 150;
// Semitones between the player's pitch and a note's pitch that still count as on the note.
constexpr double PitchTolerance = 0.5;

// A note counts as passed once the clock is more than 200 ms beyond it. The distance is signed:
// a chart with a negative offset times its first notes before the clock's zero, and compared as
// unsigned values those notes would never pass and would hold up every note after them.
inline bool notePassed(uint32_t t, uint32_t noteTime) { return signedMs(t, noteTime) > 200; }

// After the first four frames of a press a note is only entered while the pointer keeps moving:
// 0.017 semitone per frame for each frame held beyond the fifth.
bool entryTestHolds(double pitchMovement, int heldFrames);

struct NoteFrame {
    uint32_t t = 0;
    uint32_t noteTime = 0;
    double pitchDistance = 0.0; // |note pitch - player pitch|
    bool entry = false;         // entryTestHolds for this frame
    int heldFrames = 0;         // keyHeldFrames, -1 until the key is first let go
    int hitLatch = 0;
    int32_t noteIndex = 0;
};

enum class OrdinaryRow { None, Passed, Taken };

struct OrdinaryOutcome {
    OrdinaryRow row = OrdinaryRow::None;
    Judgement judgement = Miss; // recorded when the row takes or passes a note still open
    bool cancelsLink = false;   // the held-into-first-note row also cancels a slide it starts
};

// An ordinary note (no slide running): the first matching row wins.
OrdinaryOutcome judgeOrdinaryNote(const NoteFrame &frame);

enum class SlideRow { None, Passed, Ended, OnPitchEarly };

struct SlideOutcome {
    SlideRow row = SlideRow::None;
    Judgement judgement = Miss; // recorded by the Ended and Passed rows
    bool clearsOnPitch = false; // the row resets linkOnPitch
};

// The end note of a running slide; the tolerance widens once the player was on its pitch early.
SlideOutcome judgeSlideEnd(const NoteFrame &frame, int linkOnPitch);

// A slide let go for good is judged by timing alone.
Judgement releaseJudgement(uint32_t distanceMs);
