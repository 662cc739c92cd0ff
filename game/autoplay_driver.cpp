#include "game/autoplay_driver.h"

#include <algorithm>
#include <cmath>

#include "game/repeat_gate.h"
#include "library/chart.h"
#include "rules/atomic_access.h"
#include "rules/clock_math.h"
#include "rules/play_state.h"
#include "rules/window_state.h"

namespace {

bool aroundNote(const AutoplayView &v)
{
    // From 30 ms before the note to 230 ms after it.
    return std::abs(static_cast<int64_t>(signedMs(v.cur->timeMs, v.t)) + 100) < 130 && v.hitLatch == 0;
}

bool lingerAfterShortNote(const AutoplayView &v)
{
    if (v.prev == nullptr || v.phaseStartTime == 0)
        return false;
    const uint32_t p = v.prev->timeMs;
    return p - 50 < v.t && v.t < p + v.msPerBeat / 16 && v.cur->timeMs - p > v.msPerBeat / 4 + 10 &&
           std::fabs(v.playerPitch - v.prev->pitch) < 0.25;
}

} // namespace

bool autoplayPressesKey(const AutoplayView &v) { return aroundNote(v) || v.linkActive == 1 || lingerAfterShortNote(v); }

double autoplayPointerViewX(const AutoplayView &v)
{
    if (v.prev == nullptr)
        return v.cur->screenX;
    // Signed: a note in the first beats of the clock is not "far away" by wrap-around.
    const int64_t untilNote = signedMs(v.cur->timeMs, v.t);
    if (untilNote >= static_cast<int64_t>(4) * v.msPerBeat)
        return v.prev->screenX;
    const uint32_t gap = v.cur->timeMs - v.prev->timeMs;
    // Two notes at one time leave nothing to glide over (the division would give an infinity, or
    // NaN on the very millisecond): straight to the current note. The cursor only reaches it once
    // the earlier one is taken or passed, when the clock is past the glide's end and the formula
    // would give S = 1 as well.
    const double s = gap == 0 ? 1.0 : std::clamp(1.0 - (untilNote - 50) / static_cast<double>(gap), 0.0, 1.0);
    return v.prev->screenX + (v.cur->screenX - v.prev->screenX) * s * s;
}

void driveAutoplay()
{
    if (chart.noteIndex >= chart.noteCount) {
        storeRelaxed(play.keyHeldFrames, 0);
        play.hitLatch = 0;
        return;
    }
    AutoplayView view;
    view.cur = chart.currentNote;
    view.prev = chart.noteIndex >= 1 ? &chart.notes[chart.noteIndex - 1] : nullptr;
    view.t = static_cast<uint32_t>(play.songTimeMs);
    view.hitLatch = play.hitLatch;
    view.linkActive = play.linkActive;
    view.phaseStartTime = play.phaseStartTime;
    view.msPerBeat = chart.msPerBeat;
    view.playerPitch = play.playerPitch;

    // From the song start's -1, the first press counts 0 and the next one 1.
    const bool pressed = autoplayPressesKey(view);
    storeRelaxed(play.keyHeldFrames, countHeldFrames(loadRelaxed(play.keyHeldFrames), pressed));
    if (!pressed)
        play.hitLatch = 0;
    const double x = autoplayPointerViewX(view);
    storeRelaxed(window.pointerX, (x + 1.0) * 0.5 * loadRelaxed(window.clientWidth));
}
