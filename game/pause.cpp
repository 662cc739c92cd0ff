#include "game/pause.h"

#include "audio/music_stream.h"
#include "audio/voice_thread.h"
#include "game/repeat_gate.h"
#include "platform/keys.h"
#include "platform/pcm.h"
#include "platform/trace.h"
#include "rules/atomic_access.h"
#include "rules/pause_state.h"
#include "rules/play_state.h"

namespace {

void resumeSong(uint32_t now)
{
    // The lead-in and a clock that runs on the timer (music without a position) both count from
    // these stamps: moved by the pause, they go on where they stood.
    const uint32_t pausedFor = now - songPause.pausedAtMs;
    play.playStartTime += pausedFor;
    if (play.phaseStartTime != 0)
        play.phaseStartTime += pausedFor;
    songPause.paused = 0;
    pcmSetPaused(music.device, false);
    trace("resume %d", play.songTimeMs);
}

void pauseSong(uint32_t now)
{
    if (loadRelaxed(music.streamState) == Finished)
        return;
    songPause.paused = 1;
    songPause.pausedAtMs = now;
    pcmSetPaused(music.device, true);
    // The tone stops now; a key still held after the pause counts as a fresh press.
    if (loadRelaxed(play.keyHeldFrames) >= 1)
        storeRelaxed(play.keyHeldFrames, 0);
    requestVoiceReset();
    trace("pause %d", play.songTimeMs);
}

} // namespace

bool updatePauseKey(uint32_t now)
{
    songPause.keyHeldFrames = countHeldFrames(songPause.keyHeldFrames, keyIsDown(KeyP));
    if (songPause.keyHeldFrames == 1) {
        if (songPause.paused)
            resumeSong(now);
        else
            pauseSong(now);
    } else if (songPause.focusLost && !songPause.paused) {
        pauseSong(now);
    }
    songPause.focusLost = 0;
    return songPause.paused != 0;
}
