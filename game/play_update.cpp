#include "game/play_update.h"

#include "audio/music_stream.h"
#include "game/autoplay_driver.h"
#include "game/judgement_recording.h"
#include "game/key_wait.h"
#include "game/note_judgement.h"
#include "game/pause.h"
#include "game/play_key.h"
#include "game/play_reset.h"
#include "game/song_clock.h"
#include "game/song_end.h"
#include "game/song_sound.h"
#include "game/voice_play.h"
#include "library/chart.h"
#include "platform/keys.h"
#include "platform/timer.h"
#include "rules/atomic_access.h"
#include "rules/count_up.h"
#include "rules/credit_state.h"
#include "rules/menu_state.h"
#include "rules/play_state.h"
#include "rules/player_pitch.h"
#include "rules/window_state.h"

namespace {

void updatePlayerPitch()
{
    play.playerPitch = playerPitchAt(loadRelaxed(window.pointerX), loadRelaxed(window.clientWidth),
                                     loadRelaxed(window.fieldMargin), loadRelaxed(play.octave));
}

void countScoreUp() { play.displayedScore = songScoreCountedUp(play.displayedScore, play.score); }

void abandonSong()
{
    resetPlayState();
    resetControlLayout();
    stopSongSound();
    storeRelaxed(menu.state, Title);
    credit.songEndHandled = 0;
    waitForKeyRelease(KeyEscape, 16);
    play.phaseStartTime = timerNowMs();
}

bool streamFinished() { return loadRelaxed(music.streamState) == Finished; }

} // namespace

void updatePlay()
{
    const uint32_t now = timerNowMs();
    if (updatePauseKey(now)) {
        if (keyIsDown(KeyEscape))
            abandonSong();
        return;
    }
    advanceSongClock(now);
    applyPlayRules(now);
}

void applyPlayRules(uint32_t now)
{
    PlayFrame frame;
    frame.now = now;
    followBeatAndMeasures();
    if (menu.autoplay == 0)
        steerPointerByVoice(now);
    updatePlayerPitch();
    countScoreUp();
    if (keyIsDown(KeyEscape)) {
        // The song is abandoned: nothing of it may be booked or left by this frame's keys.
        abandonSong();
        return;
    }
    if (menu.autoplay == 1 && !streamFinished()) {
        driveAutoplay();
    } else {
        if (streamFinished() && credit.songEndHandled == 0)
            finishSong();
        updatePlayKey(frame);
    }
    const int32_t indexBefore = chart.noteIndex;
    judgeCurrentNote(frame);
    recordJudgement(frame, indexBefore);
}
