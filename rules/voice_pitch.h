#pragma once
// The sung pitch as the player's pitch: semitones relative to C of chart octave 4 (MIDI 72), like
// every pitch of the game.

// The sung pitch moved by whole octaves to the octave nearest `target` (the note being judged, or
// the pointer's last pitch between notes), so a voice of any range reaches every note. A pitch
// exactly half an octave away goes down.
double foldToNearestOctave(double sung, double target);

// Jitter of less than a quarter semitone is averaged away; a larger move is taken at once. The
// average lags a steady pitch by VoiceSmoothingLagMs whatever the hop, so smoothing never adds
// more than that to the sound-to-pointer delay.
constexpr double VoiceJitterSemitones = 0.25;
constexpr double VoiceSmoothingLagMs = 10.0;
struct VoicePitchSmoothing {
    double value = 0.0;
    bool primed = false; // false until the first pitch, and again after a call to restart
};
// One detector reading every `hopMs`; returns the smoothed pitch.
double smoothVoicePitch(VoicePitchSmoothing &smoothing, double pitch, double hopMs);

// The pointer's x in client pixels that gives `pitch`: the inverse of playerPitchAt, so the
// voice moves the pointer through the same mapping the mouse uses.
double pointerXForPitch(double pitch, int clientWidth, int fieldMargin, int octave);
