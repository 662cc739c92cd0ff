#pragma once
#include <string>

#include "audio/voice_capture.h"
#include "rules/scroll_speed.h"
#include "rules/settings_state.h"
#include "rules/voice_mode_state.h"

constexpr int DefaultBufferLengthMs = 20;
constexpr int MaximumBufferLengthMs = 1000;

// The audio buffer length from conf.ini at iniPath. A missing file is created with
// [config] BufferLength=20; a file that is there is never rewritten. A missing key gives 20
// silently. A file that is there but cannot be read, or a value below 1 or not a number, gives
// 20, and an absurd value gives 1000; each of these says so on stderr.
int loadBufferLengthMs(const std::string &iniPath);

// The player's settings beyond the buffer length; each key of conf.ini is optional.
struct PlayerSettings {
    int wave = 0;                            // Wave, below WaveTypeCount
    int unison = 0;                          // Unison, 0 or 1
    double scrollSpeed = SlowestScrollSpeed; // ScrollSpeed, one of the speeds Z cycles through
    int musicVolume = DefaultVolume;         // MusicVolume, 0..DefaultVolume
    int toneVolume = DefaultVolume;          // ToneVolume, 0..DefaultVolume
    int audioOffsetMs = 0;                   // AudioOffset, within MaximumAudioOffsetMs of 0
    int fullScreen = 0;                      // FullScreen, 0 or 1
    int input = InputMouse;                  // Input, mouse or voice
    int voiceTone = 0; // VoiceTone, 0 or 1: in voice mode the player hears the tone, not only their voice
    double voiceGateDb = DefaultVoiceGateDb; // VoiceGate, -90..-5 dBFS
};

// Reads the player's settings from conf.ini at iniPath, never writing it. A missing file or key
// gives the default silently; a value out of range or not a number gives the default and one
// stderr line naming conf.ini and the key.
PlayerSettings loadPlayerSettings(const std::string &iniPath);
