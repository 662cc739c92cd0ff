#include "library/chart_notes.h"

#include <cmath>

uint32_t wrapToUint32(double value)
{
    if (!std::isfinite(value))
        return 0;
    double wrapped = std::fmod(std::trunc(value), 4294967296.0);
    if (wrapped < 0)
        wrapped += 4294967296.0;
    return static_cast<uint32_t>(wrapped);
}

int applyLinkRule(std::vector<ChartNote> &notes, size_t i, LinkRun &run)
{
    if (i == 0 || !notes[i - 1].linked)
        return 0;
    if (i == 1 || !notes[i - 2].linked) {
        run.start = i - 1;
        run.shiftedUpTo = static_cast<long>(i) - 2;
    }
    int newest = notes[i - 1].octaveShift;
    if (newest != 0) {
        for (long j = static_cast<long>(i) - 2; j > run.shiftedUpTo; j--)
            notes[j].octaveShift = newest;
        run.shiftedUpTo = static_cast<long>(i) - 1;
    }
    return run.shiftedUpTo >= static_cast<long>(run.start) ? notes[run.start].octaveShift : 0;
}

int foldShift(double pitch, int shift, int base, int lowestOctave, int highestOctave)
{
    double p = pitch + 12.0 * shift;
    if (p >= 12.0 * highestOctave - 36)
        return base + highestOctave - 4 - static_cast<int>(std::trunc(p / 12));
    if (p < 12.0 * lowestOctave - 48)
        return base + lowestOctave - 4 - static_cast<int>(std::trunc(p / 12 - 1));
    return shift;
}

void linkNotes(std::vector<ChartNote> &notes, size_t noteCount)
{
    // A note with no earlier non-ghost record points back at itself, so prev is never null.
    ChartNote *previousJudged = nullptr;
    for (size_t i = 0; i <= noteCount; i++) {
        notes[i].prev = previousJudged != nullptr ? previousJudged : &notes[i];
        if (!notes[i].ghost)
            previousJudged = &notes[i];
    }
    // The spare record is never a ghost, so every note but the last finds a next.
    ChartNote *nextJudged = nullptr;
    for (size_t i = noteCount + 1; i-- > 0;) {
        notes[i].next = i + 1 < noteCount ? nextJudged : nullptr;
        if (!notes[i].ghost)
            nextJudged = &notes[i];
    }
}
