#include "game/note_judgement.h"

#include <cmath>

#include "game/voice_play.h"
#include "library/chart.h"
#include "platform/trace.h"
#include "rules/atomic_access.h"
#include "rules/judgement.h"
#include "rules/judgement_rules.h"
#include "rules/menu_state.h"
#include "rules/play_state.h"

namespace {

void followOctave(const ChartNote &cur, int held)
{
    if (held != 0 && play.linkActive != 1)
        return;
    storeRelaxed(play.octave, 4 - cur.octaveShift);
    // With the key up, the field already shifts for a note due within 200 ms.
    const uint32_t t = static_cast<uint32_t>(play.songTimeMs);
    if (chart.noteIndex + 1 < chart.noteCount && held == 0 && cur.next != nullptr && t + 200 > cur.next->timeMs)
        storeRelaxed(play.octave, 4 - cur.next->octaveShift);
}

// The note a linked note slides into. The last note of a chart may be written in upper case too;
// its next is null, or the spare record when only ghost notes follow, and neither is a note.
ChartNote *slideEndOf(const ChartNote &note)
{
    if (note.linked != 1 || note.next == &chart.notes[chart.noteCount])
        return nullptr;
    return note.next;
}

// A player who missed a slide's start has nothing to slide from: its end is closed and passes
// unjudged. AUTOPLAY misses a note only when the frames came too slowly to play it (a stalled main
// thread); there the end stays open and is played as a note of its own, so every note is judged.
void cancelFollowingSlideEnd(const ChartNote &cur)
{
    if (menu.autoplay == 1)
        return;
    if (ChartNote *end = slideEndOf(cur))
        end->state = NoteClosed;
}

void applyOrdinaryNote(PlayFrame &frame, ChartNote &cur, const OrdinaryOutcome &outcome)
{
    if (outcome.row == OrdinaryRow::None)
        return;
    if (cur.state == NoteOpen)
        markJudged(frame, cur, outcome.judgement);
    cur.state = NoteTaken;
    chart.noteIndex++;
    play.linkOnPitch = 0;
    if (outcome.row == OrdinaryRow::Passed) {
        cancelFollowingSlideEnd(cur);
        play.linkActive = 0;
        return;
    }
    if (outcome.cancelsLink)
        cancelFollowingSlideEnd(cur);
    if (slideEndOf(cur) != nullptr)
        play.linkActive = 1;
    play.hitLatch = 1;
}

void applySlideEnd(PlayFrame &frame, ChartNote &cur, const SlideOutcome &outcome)
{
    switch (outcome.row) {
    case SlideRow::None:
        return;
    case SlideRow::OnPitchEarly:
        play.linkOnPitch = 1;
        return;
    case SlideRow::Passed:
        cur.state = NoteTaken;
        play.linkActive = 0;
        break;
    case SlideRow::Ended:
        cur.state = NoteClosed;
        play.hitLatch = 1;
        play.linkActive = slideEndOf(cur) != nullptr ? 1 : 0;
        break;
    }
    markJudged(frame, cur, outcome.judgement);
    if (outcome.clearsOnPitch)
        play.linkOnPitch = 0;
    // A release still waiting for its grace belonged to the slide that has now ended.
    play.releaseStartTime = 0;
    chart.noteIndex++;
}

} // namespace

void markJudged(PlayFrame &frame, const ChartNote &note, Judgement judgement)
{
    play.lastJudgement = judgement;
    frame.judged = true;
    frame.judgedNote = &note;
}

void judgeCurrentNote(PlayFrame &frame)
{
    if (chart.noteIndex >= chart.noteCount) {
        if (play.judgementCounts[Miss] == 0 && play.fullComboTime == 0) {
            play.fullComboTime = frame.now;
            trace("full combo");
        }
        return;
    }
    ChartNote &cur = *chart.currentNote;
    const int held = loadRelaxed(play.keyHeldFrames);
    followOctave(cur, held);

    NoteFrame note;
    note.t = static_cast<uint32_t>(judgedSongTimeMs());
    note.noteTime = cur.timeMs;
    note.pitchDistance = std::fabs(cur.pitch - play.playerPitch);
    note.entry = entryTestHolds(std::fabs(play.previousPitch - play.playerPitch), held);
    note.heldFrames = held;
    note.hitLatch = play.hitLatch;
    note.noteIndex = chart.noteIndex;
    if (play.linkActive == 0)
        applyOrdinaryNote(frame, cur, judgeOrdinaryNote(note));
    else
        applySlideEnd(frame, cur, judgeSlideEnd(note, play.linkOnPitch));
}
