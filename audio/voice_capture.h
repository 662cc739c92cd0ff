#pragma once
// The player's voice as input: the capture thread runs the pitch detector on every block the
// capture device hands over and publishes the latest reading here; the main thread reads it.
// Each field is written by the capture thread alone (gateDb by the main thread alone); a reading
// one hop old does no harm, so they are read without locks and without a snapshot.
#include <atomic>
#include <cstdint>

// Chosen on the test voices (sung at a median -20 dBFS with breath 30 dB below): halfway in dB
// between the loudest breath between syllables and the softest sung hop.
constexpr double DefaultVoiceGateDb = -35.0;
// Readings below this confidence leave the pitch where it was.
constexpr double VoiceMinConfidence = 0.8;

struct VoiceReadout {
    std::atomic<float> semitones{0.0f}; // last confident pitch, smoothed; relative to MIDI 72
    std::atomic<float> confidence{0.0f};
    std::atomic<float> levelDb{-120.0f};
    std::atomic<int> pressDown{0};   // the voice holds the play key
    std::atomic<uint32_t> onsets{0}; // presses so far
    std::atomic<float> gateDb{float(DefaultVoiceGateDb)};
};

// For the run: live from voiceCaptureStart to voiceCaptureStop.
extern VoiceReadout voiceReadout;

// Main thread. Opens the capture device and its detector; false when there is no device (the
// platform said why on stderr) and the game plays on with the mouse.
bool voiceCaptureStart();
void voiceCaptureStop();
bool voiceCaptureRunning();
// The capture's own delay from sound to reading: the device's buffering plus the detector's
// window, in ms; 0 while stopped.
double voiceCaptureDelayMs();
