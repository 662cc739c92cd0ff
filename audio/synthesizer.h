#pragma once
// Never wiped: constants of the tone synthesizer, computed at load.
struct SynthConstants {
    double semitoneRatio = 0.0;
    int referenceHz = 0;

    SynthConstants();
};

extern SynthConstants synth;

// Fills ring slot `slot` of voice `voiceIndex` with the current wave type at `pitch` semitones
// from the reference tone, carrying the voice's phase on to the next buffer.
void synthesizeBuffer(int slot, int voiceIndex, double pitch);

constexpr double TwoPi = 6.283185307179586;

// The frequency of a pitch in semitones from the reference tone.
double pitchHz(double pitch);

// A pitch the synthesizer can use: finite and within eight octaves of the reference tone
// (a zero-width field or a far-off pointer must not give an endless or NaN phase).
double playablePitch(double pitch);
