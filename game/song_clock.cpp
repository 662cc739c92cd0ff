#include "game/song_clock.h"

#include "audio/music_stream.h"
#include "library/chart.h"
#include "platform/capture.h"
#include "rules/atomic_access.h"
#include "rules/clock_math.h"
#include "rules/play_state.h"
#include "rules/settings_state.h"
#include "rules/window_state.h"

namespace {

// Start of the measure the clock is in; before the first measure is reached, the first measure's
// start, so the phase already lines up with the chart's beats.
uint32_t beatOrigin(const Chart &chart)
{
    if (chart.measureIndex > 0)
        return chart.measureTimes[chart.measureIndex - 1];
    return chart.measureCount > 0 ? chart.measureTimes[0] : 0;
}

} // namespace

double leadInControlY(uint32_t elapsedMs, double aspect)
{
    if (elapsedMs > 1000)
        return 0.9 * aspect;
    const double p = 1.0 - elapsedMs / 1000.0;
    const double m = (1.0 - p * p) * 0.05 + p * p * 0.65625;
    return (1.0 - 2.0 * m) * aspect;
}

double beatPhaseAt(uint32_t t, uint32_t origin, uint32_t msPerBeat)
{
    if (msPerBeat == 0)
        return 0.0;
    // Signed on purpose: a clock still short of the first measure counts back from it and stays
    // on the chart's beats. Unsigned, the difference would wrap to nearly 2^32, which is rarely a
    // whole number of beats.
    const int64_t sinceOrigin = signedMs(t, origin);
    const int64_t beat = msPerBeat;
    return static_cast<double>(((sinceOrigin % beat) + beat) % beat) / msPerBeat;
}

void advanceSongClock(uint32_t now)
{
    const uint32_t elapsed = now - play.playStartTime;
    if (elapsed <= LeadInMs) {
        const double y = leadInControlY(elapsed, window.aspect);
        window.controls[ControlWaveType - 1].centreY = y;
        window.controls[ControlUnison - 1].centreY = y;
        return;
    }
    if (play.phaseStartTime == 0) {
        play.phaseStartTime = now;
        captureSongStart();
    }
    music.refill();
    if (loadRelaxed(music.streamState) >= Finished)
        return;
    uint32_t positionMs = 0;
    if (!music.positionMs(positionMs))
        positionMs = now - play.phaseStartTime;
    // What the player hears comes late by the calibrated offset: presses and pictures follow
    // the song as heard.
    play.songTimeMs = static_cast<int>(positionMs) - loadRelaxed(settings.audioOffsetMs);
}

void followBeatAndMeasures()
{
    const uint32_t t = static_cast<uint32_t>(play.songTimeMs);
    play.beatPhase = beatPhaseAt(t, beatOrigin(chart), chart.msPerBeat);
    // Signed, so that measures starting before the clock's zero (a negative offset) are passed too.
    if (chart.measureIndex < chart.measureCount && signedMs(t, chart.measureTimes[chart.measureIndex]) >= 0)
        chart.measureIndex++;
}
