#pragma once
// Building blocks of the synthesizer: tuning, a seeded noise source, a state-variable filter and
// band-limited edges for the sawtooth.
#include <cmath>
#include <cstdint>

// Pitch 0 is C of chart octave 4 at the 523 Hz the game's own tone uses, so the music and the
// player's tone agree.
inline double pitchHz(double pitch) { return 523.0 * std::pow(2.0, pitch / 12.0); }

struct NoiseSource {
    uint32_t state = 1;
};

// xorshift32: the same seed gives the same drums in every build.
inline double whiteNoise(NoiseSource &noise)
{
    uint32_t x = noise.state;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    noise.state = x;
    return static_cast<double>(x) / 2147483648.0 - 1.0;
}

struct FilterState {
    double ic1 = 0.0;
    double ic2 = 0.0;
};

struct FilterOutputs {
    double low;
    double band;
    double high;
};

struct FilterTuning {
    double g;
    double k;
};

FilterTuning filterTuning(double cutoffHz, double q);

// Trapezoidal state-variable filter: stays stable while its cutoff moves every sample.
FilterOutputs filterStep(FilterState &state, FilterTuning tuning, double input);

// Correction around the wrap of a 0..1 phase that removes most of a sawtooth's aliasing.
double polyBlep(double phase, double phaseStep);

// Sawtooth from -1 to 1 with band-limited edges; phase advances by phaseStep and wraps in 0..1.
double sawStep(double &phase, double phaseStep);

// Linear attack, then held, then linear release after the note's end; 0 outside.
double attackReleaseLevel(double t, double attack, double length, double release);
