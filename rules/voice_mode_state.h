#pragma once
// For the run: how the player gives pitch and press. Read from conf.ini at start-up (app/), toggled
// by V on the title and select screens (game/), which also copies the voice's level and keeps the
// trail every frame; the renderer (gfx/) draws the meter and the trail, the voice thread (audio/)
// reads toneMuted.
#include <atomic>
#include <cstdint>

enum InputMode { InputMouse = 0, InputVoice = 1 };

constexpr int VoiceTrailPoints = 128; // two seconds of frames at 60 Hz, with room to spare
constexpr uint32_t VoiceTrailMs = 2000;

struct VoiceTrailPoint {
    uint32_t timeMs = 0; // timer time the pitch was sung
    double pitch = 0.0;  // as the pointer took it
};

struct VoiceModeState {
    int input = InputMouse;
    int toneInVoiceMode = 0;       // VoiceTone: 1 keeps the synthesized tone under the voice
    double gateDb = 0.0;           // VoiceGate
    int captureOpen = 0;           // a capture device runs; without one the mouse plays
    std::atomic<int> toneMuted{0}; // voice mode with a device and VoiceTone=0
    uint32_t seenOnsets = 0;       // the voice's onsets the play key has taken
    double levelDb = -120.0;       // the voice's level as of this frame, for the meter
    VoiceTrailPoint trail[VoiceTrailPoints];
    int trailNext = 0;
};

extern VoiceModeState voiceMode;

// The voice, not the mouse and space key, steers the play.
inline bool voiceDrivesPlay() { return voiceMode.input == InputVoice && voiceMode.captureOpen == 1; }
