#pragma once
// The voice as the play key: a voice onset (the level rising through the gate with a confident
// pitch) presses it, a continuing voice holds it, and a dip below the gate of VoiceSyllableGapMs
// or more lets it go, so the next syllable is a fresh press. Shorter dips (a consonant, a breath
// in a long note) keep it held.
#include <cstdint>

constexpr double VoiceSyllableGapMs = 60.0;

struct VoicePress {
    bool down = false;
    double quietMs = 0.0; // time below the gate while down
    uint32_t onsets = 0;  // presses so far: a change tells the reader a new syllable began
};

struct VoiceFrame {
    double levelDb = -120.0; // level of the hop in dBFS
    double confidence = 0.0; // the detector's confidence in its pitch, 0..1
};

struct VoiceGateSetting {
    double gateDb = -40.0;
    double minConfidence = 0.8;
};

// One detector reading covering `hopMs` of sound.
void stepVoicePress(VoicePress &press, const VoiceFrame &frame, const VoiceGateSetting &gate, double hopMs);

// The play key as the play update reads it from the voice once a frame: down while the voice
// holds it, and a fresh press whenever an onset came that no frame has taken yet (`seenOnsets`
// is brought up to date), even when no frame saw the voice go quiet before it.
struct VoiceKey {
    bool down = false;
    bool freshPress = false;
};
VoiceKey readVoiceKey(bool down, uint32_t onsets, uint32_t &seenOnsets);
