#include "game/judgement_recording.h"

#include "game/voice_play.h"
#include "library/chart.h"
#include "platform/trace.h"
#include "rules/clock_math.h"
#include "rules/judgement.h"
#include "rules/menu_state.h"
#include "rules/play_state.h"
#include "rules/song_scoring.h"

namespace {

void followCursor(PlayFrame &frame)
{
    // A ghost note is never counted: AUTOPLAY plays every one, and by hand a chart that opens with
    // one has it current until the cursor first moves.
    if (frame.judged && chart.notes[chart.noteIndex - 1].ghost == 1)
        frame.judged = false;
    chart.currentNote = &chart.notes[chart.noteIndex];
    if (menu.autoplay == 1)
        return;
    while (chart.currentNote->ghost == 1 && chart.noteIndex < chart.noteCount) {
        chart.noteIndex++;
        chart.currentNote = &chart.notes[chart.noteIndex];
    }
}

void bookJudgement(const PlayFrame &frame)
{
    if (menu.autoplay == 1)
        play.lastJudgement = Great;
    const Judgement judgement = static_cast<Judgement>(play.lastJudgement);
    ChartNote &cur = *chart.currentNote;
    ChartNote &graded = *cur.prev;
    play.lastJudgementTime = frame.now;
    graded.grade = static_cast<uint16_t>(judgement);
    if (judgement == Miss) {
        play.combo = 0;
    } else {
        graded.gradeTime = frame.now;
        play.combo++;
        // A short slide gets the wide end tolerance at once.
        if (play.linkActive == 1 && cur.timeMs - graded.timeMs <= 200)
            play.linkOnPitch = 1;
    }
    const JudgementGain gain = judgementGain(judgement, chart.judgedNoteCount, chart.gaugeRate);
    play.gauge = clampGauge(play.gauge + gain.gauge);
    play.score += gain.score;
    play.judgementCounts[judgement]++;

    const ChartNote &judged = *frame.judgedNote;
    const int judgedMs = judgedSongTimeMs();
    trace("judge %ld %s t=%d d=%u pitch=%.2f", static_cast<long>(&judged - chart.notes.data()),
          judgementWord(judgement), judgedMs, msDistance(static_cast<uint32_t>(judgedMs), judged.timeMs),
          play.playerPitch);
}

} // namespace

void recordJudgement(PlayFrame &frame, int32_t indexBefore)
{
    if (chart.noteIndex != indexBefore)
        followCursor(frame);
    if (frame.judged)
        bookJudgement(frame);
    if (chart.noteIndex > 0 && chart.noteIndex < chart.noteCount) {
        const ChartNote &cur = *chart.currentNote;
        play.samePitchAsPrevious = cur.prev->pitch == cur.pitch ? 1 : 0;
        if (play.samePitchAsPrevious == 0)
            play.hitLatch = 0;
    }
    play.previousPitch = play.playerPitch;
}
