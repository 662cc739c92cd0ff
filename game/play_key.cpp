#include "game/play_key.h"

#include "audio/music_stream.h"
#include "audio/voice_thread.h"
#include "game/note_judgement.h"
#include "game/repeat_gate.h"
#include "game/song_end.h"
#include "game/voice_play.h"
#include "library/chart.h"
#include "platform/keys.h"
#include "rules/atomic_access.h"
#include "rules/clock_math.h"
#include "rules/judgement_rules.h"
#include "rules/play_state.h"

namespace {

constexpr uint32_t ForgivenReleaseMs = 100;
constexpr uint32_t LeaveDelayMs = 1000;

void releaseKey(PlayFrame &frame)
{
    ChartNote &cur = *chart.currentNote;
    if (loadRelaxed(play.keyHeldFrames) >= 1)
        requestVoiceReset();
    storeRelaxed(play.keyHeldFrames, 0);
    play.hitLatch = 0;
    if (play.linkActive == 1 && play.releaseStartTime == 0) {
        // Each release already forgiven in this slide shortens the next grace by 100 ms.
        play.releaseStartTime = frame.now - ForgivenReleaseMs * cur.holdCount;
        cur.holdCount++;
    }
    if (play.releaseStartTime != 0 && frame.now - play.releaseStartTime >= ForgivenReleaseMs) {
        const uint32_t t = static_cast<uint32_t>(judgedSongTimeMs());
        markJudged(frame, cur, releaseJudgement(msDistance(cur.timeMs, t)));
        play.linkActive = 0;
        cur.state = NoteClosed;
        play.releaseStartTime = 0;
    }
}

void holdKey(PlayFrame &frame)
{
    int held = loadRelaxed(play.keyHeldFrames);
    if (held < 0)
        return;
    held = countHeldFrames(held, true);
    storeRelaxed(play.keyHeldFrames, held);
    if (play.releaseStartTime != 0 && frame.now - play.releaseStartTime < ForgivenReleaseMs)
        play.releaseStartTime = 0;
    if (loadRelaxed(music.streamState) == Finished && held == 1 && frame.now - play.resultTime > LeaveDelayMs)
        leaveSong();
}

} // namespace

void updatePlayKey(PlayFrame &frame)
{
    // A new syllable the voice began is a release and a press within the one frame.
    const VoiceKey key = readPlayKey();
    if (!key.down || key.freshPress)
        releaseKey(frame);
    if (key.down || key.freshPress)
        holdKey(frame);
}
