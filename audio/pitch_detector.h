#pragma once
// The pitch of the player's voice: libaubio's YIN family run hop by hop over a sliding window.
// Runs on the capture thread; creating and destroying it allocate, feeding it does not.

enum class PitchMethod { Yin, YinFast, YinFft };

struct PitchDetectorSetup {
    int sampleRate = 44100;
    int windowFrames = 1024;
    int hopFrames = 256;
    PitchMethod method = PitchMethod::YinFast;
};

// The setup the game runs, chosen on the test voices: YIN (its FFT-fast form gives the same
// readings at a fraction of the cost; YIN-FFT reads a low male voice an octave off in 8 % of hops
// and gives no confidence in this libaubio) over about 23 ms, which holds two periods of a 90 Hz
// voice, with a reading every quarter window (6 ms at 44.1 kHz).
PitchDetectorSetup voicePitchSetup(int sampleRate);

// One hop's reading. The pitch is in semitones relative to C of chart octave 4 (MIDI 72) and
// means nothing when the confidence is low; the level is the hop's RMS in dBFS (a full-scale
// square wave is 0 dB), -120 for digital silence.
struct PitchReading {
    double semitones = 0.0;
    double confidence = 0.0;
    double levelDb = -120.0;
};

struct PitchDetector;

// Null when the setup cannot be run (a window too short for the hop, a rate out of range).
PitchDetector *pitchDetectorCreate(const PitchDetectorSetup &setup);
void pitchDetectorDestroy(PitchDetector *detector);

// Feeds samples and writes one reading per completed hop, oldest first, into `readings`, which
// holds frames / hopFrames + 1 of them. Returns how many were written.
int pitchDetectorFeed(PitchDetector &detector, const float *samples, int frames, PitchReading *readings);

// How long a sound takes to fill the detector's window, in ms: the part of the sound-to-pointer
// delay that is the detector's.
double pitchDetectorWindowMs(const PitchDetectorSetup &setup);
