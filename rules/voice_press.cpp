#include "rules/voice_press.h"

namespace {
// The same cap as the space key's count.
constexpr int MaxVoiceHeldFrames = 30;
} // namespace

void stepVoicePress(VoicePress &press, const VoiceFrame &frame, const VoiceGateSetting &gate, double hopMs)
{
    const bool loud = frame.levelDb >= gate.gateDb;
    if (!press.down) {
        if (loud && frame.confidence >= gate.minConfidence) {
            press.down = true;
            press.quietMs = 0.0;
            press.onsets++;
        }
        return;
    }
    press.quietMs = loud ? 0.0 : press.quietMs + hopMs;
    if (press.quietMs >= VoiceSyllableGapMs)
        press.down = false;
}

int voiceHeldFrames(int heldFrames, bool down, uint32_t onsets, uint32_t &seenOnsets)
{
    const bool freshOnset = onsets != seenOnsets;
    seenOnsets = onsets;
    // An onset always follows a dip long enough to be a release, even one no frame saw.
    if (freshOnset)
        return 1;
    if (!down)
        return 0;
    if (heldFrames < 0)
        return heldFrames; // held since before the song started: not a press until let go
    return heldFrames < MaxVoiceHeldFrames ? heldFrames + 1 : heldFrames;
}
