#include "rules/judgement_rules.h"

#include <cstdlib>

namespace {

bool takenAt(const NoteFrame &f, uint32_t window)
{
    return msDistance(f.t, f.noteTime) < window && f.pitchDistance < PitchTolerance && f.entry && f.heldFrames >= 1 &&
           f.hitLatch == 0;
}

bool freshPressNearPitch(const NoteFrame &f)
{
    return msDistance(f.t, f.noteTime) < 100 && f.pitchDistance >= PitchTolerance && f.pitchDistance < 2.5 &&
           f.heldFrames == 1 && f.hitLatch == 0;
}

bool heldIntoFirstNote(const NoteFrame &f)
{
    const long long early = static_cast<long long>(signedMs(f.t, f.noteTime)) - 50;
    return f.noteIndex == 0 && std::llabs(early) < 300 && f.pitchDistance < PitchTolerance && f.heldFrames > 1 &&
           f.hitLatch == 0;
}

} // namespace

bool entryTestHolds(double pitchMovement, int heldFrames) { return pitchMovement > 0.017 * (heldFrames - 5); }

OrdinaryOutcome judgeOrdinaryNote(const NoteFrame &f)
{
    if (notePassed(f.t, f.noteTime))
        return {OrdinaryRow::Passed, Miss, false};
    if (takenAt(f, GreatWindowMs))
        return {OrdinaryRow::Taken, Great, false};
    if (takenAt(f, GoodWindowMs))
        return {OrdinaryRow::Taken, Good, false};
    if (freshPressNearPitch(f))
        return {OrdinaryRow::Taken, f.pitchDistance < 0.975 ? Good : Miss, false};
    if (heldIntoFirstNote(f))
        return {OrdinaryRow::Taken, Miss, true};
    return {};
}

SlideOutcome judgeSlideEnd(const NoteFrame &f, int linkOnPitch)
{
    const double tolerance = linkOnPitch == 1 ? 1.70 : 0.85;
    const uint32_t d = msDistance(f.t, f.noteTime);
    const bool onPitch = f.pitchDistance < PitchTolerance && f.heldFrames >= 1;
    const bool late = signedMs(f.t, f.noteTime) > 0;
    if (notePassed(f.t, f.noteTime))
        return {SlideRow::Passed, Miss, true};
    if (d < GreatWindowMs && onPitch)
        return {SlideRow::Ended, Great, true};
    if (d < GoodWindowMs && onPitch && late)
        return {SlideRow::Ended, Good, false};
    if (d < GoodWindowMs && onPitch)
        return {SlideRow::OnPitchEarly, Miss, false};
    if (d != 0 && f.t > f.noteTime && f.pitchDistance < tolerance && f.heldFrames >= 1)
        return {SlideRow::Ended, Good, true};
    return {};
}

Judgement releaseJudgement(uint32_t distanceMs)
{
    if (distanceMs < 100)
        return Great;
    return distanceMs < 200 ? Good : Miss;
}
