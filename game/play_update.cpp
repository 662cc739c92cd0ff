#include "game/play_update.h"

#include <algorithm>

#include "app/app_context.h"
#include "rules/control_layout.h"
#include "game/play_reset.h"
#include "rules/atomic_access.h"
#include "game/autoplay_driver.h"
#include "game/judgement_recording.h"
#include "game/key_wait.h"
#include "game/note_judgement.h"
#include "game/play_key.h"
#include "rules/player_pitch.h"
#include "game/song_clock.h"
#include "game/song_end.h"
#include "game/song_sound.h"
#include "platform/keys.h"
#include "platform/timer.h"

namespace {

constexpr double ScoreCountUpStep = 130.0;

void updatePlayerPitch()
{
    const WindowState &window = app.window;
    app.play.playerPitch = playerPitchAt(loadRelaxed(window.pointerX), loadRelaxed(window.clientWidth),
                                         loadRelaxed(window.fieldMargin), loadRelaxed(app.play.octave));
}

void countScoreUp()
{
    PlayState &play = app.play;
    if (play.displayedScore < play.score)
        play.displayedScore = std::min(play.displayedScore + ScoreCountUpStep, play.score);
}

void abandonSong()
{
    resetPlayState();
    resetControlLayout();
    stopSongSound();
    storeRelaxed(app.menu.state, Title);
    app.credit.songEndHandled = 0;
    waitForKeyRelease(KeyEscape, 16);
    app.play.phaseStartTime = timerNowMs();
}

bool streamFinished()
{
    return loadRelaxed(app.music.streamState) == Finished;
}

}  // namespace

void updatePlay()
{
    const uint32_t now = timerNowMs();
    advanceSongClock(now);
    applyPlayRules(now);
}

void applyPlayRules(uint32_t now)
{
    PlayFrame frame;
    frame.now = now;
    followBeatAndMeasures();
    updatePlayerPitch();
    countScoreUp();
    if (keyIsDown(KeyEscape)) {
        // The song is abandoned: nothing of it may be booked or left by this frame's keys.
        abandonSong();
        return;
    }
    if (app.menu.autoplay == 1 && !streamFinished()) {
        driveAutoplay();
    } else {
        if (streamFinished() && app.credit.songEndHandled == 0)
            finishSong();
        updatePlayKey(frame);
    }
    const int32_t indexBefore = app.chart.noteIndex;
    judgeCurrentNote(frame);
    recordJudgement(frame, indexBefore);
}
