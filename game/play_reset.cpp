#include "game/play_reset.h"

#include "audio/tone_voice.h"
#include "library/chart.h"
#include "rules/menu_state.h"
#include "rules/pause_state.h"
#include "rules/play_state.h"
#include "rules/voice_gain.h"
#include "rules/window_state.h"

void resetPlayState()
{
    constexpr auto relaxed = std::memory_order_relaxed;

    chart.lowestOctave = 3;
    chart.highestOctave = 4;
    play.octave.store(4, relaxed);
    play.samePitchAsPrevious = 0;
    window.fieldMargin.store(20, relaxed);
    window.voiceGain.store(startingVoiceGain(menu.unison.load(relaxed)), relaxed);
    for (ToneVoice &voice : voices) {
        voice.ringWrite.store(0, relaxed);
        voice.ringDone.store(0, relaxed);
        voice.phase.store(0.0, relaxed);
    }
    play.songTimeMs = 0;
    songPause = PauseState{};
    chart.measureIndex = 0;
    play.lastJudgementTime = 0;
    for (int &count : play.judgementCounts)
        count = 0;
    play.combo = 0;
    play.linkActive = 0;
    // A slide or a release still pending from the last song must not reach into the next one.
    play.linkOnPitch = 0;
    play.hitLatch = 0;
    play.releaseStartTime = 0;
    play.phaseStartTime = 0;
    play.resultTime = 0;
    play.fullComboTime = 0;
    window.pointerX.store(0.0, relaxed);
    window.pointerY = 0.0;
    play.gauge = 20.0;
    play.score = 0.0;
    play.displayedScore = 0.0;
}
