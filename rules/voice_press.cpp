#include "rules/voice_press.h"

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

VoiceKey readVoiceKey(bool down, uint32_t onsets, uint32_t &seenOnsets)
{
    VoiceKey key;
    key.freshPress = onsets != seenOnsets;
    key.down = down;
    seenOnsets = onsets;
    return key;
}
