#include "game/voice_play.h"

#include <cmath>

#include "audio/voice_capture.h"
#include "library/chart.h"
#include "platform/keys.h"
#include "rules/atomic_access.h"
#include "rules/menu_state.h"
#include "rules/play_state.h"
#include "rules/player_pitch.h"
#include "rules/voice_mode_state.h"
#include "rules/voice_pitch.h"
#include "rules/window_state.h"

VoiceKey readSungKey()
{
    return readVoiceKey(loadRelaxed(voiceReadout.pressDown) == 1, loadRelaxed(voiceReadout.onsets),
                        voiceMode.seenOnsets);
}

void forgetSungTaps() { voiceMode.seenOnsets = loadRelaxed(voiceReadout.onsets); }

int voiceDelayMs() { return static_cast<int>(std::lround(voiceCaptureDelayMs())); }

VoiceKey readPlayKey()
{
    if (!voiceDrivesPlay())
        return VoiceKey{keyState(KeySpace) != 0, false};
    return readSungKey();
}

void steerPointerByVoice(uint32_t now)
{
    if (!voiceDrivesPlay())
        return;
    const bool onNote = chart.noteIndex < chart.noteCount && chart.currentNote != nullptr;
    const int width = loadRelaxed(window.clientWidth);
    const int margin = loadRelaxed(window.fieldMargin);
    const int octave = loadRelaxed(play.octave);
    const double target = onNote ? chart.currentNote->pitch
                                 : playerPitchAt(loadRelaxed(window.pointerX), width, margin, octave);
    const double pitch = foldToNearestOctave(loadRelaxed(voiceReadout.semitones), target);
    storeRelaxed(window.pointerX, pointerXForPitch(pitch, width, margin, octave));
    if (loadRelaxed(voiceReadout.pressDown) == 1) {
        voiceMode.trail[voiceMode.trailNext] = VoiceTrailPoint{now, pitch};
        voiceMode.trailNext = (voiceMode.trailNext + 1) % VoiceTrailPoints;
    }
}

int judgedSongTimeMs()
{
    if (!voiceDrivesPlay() || menu.autoplay == 1)
        return play.songTimeMs;
    return play.songTimeMs - voiceDelayMs();
}
