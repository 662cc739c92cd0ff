#include "tonal_voices.h"

#include <algorithm>
#include <cmath>

#include "dsp.h"

void addBassNote(StereoBuffer &buffer, const ToneNote &note)
{
    const double release = 0.04;
    const double length = note.lengthMs / 1000.0;
    const size_t first = frameAtMs(note.startMs);
    const size_t frames = static_cast<size_t>((length + release) * SampleRate);
    const double hz = pitchHz(note.pitch);
    const PanGains centre = panGains(0.0);
    FilterState filter;
    double sawPhase = 0.0;
    double subPhase = 0.0;
    for (size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        const double saw = sawStep(sawPhase, hz / SampleRate);
        subPhase += 2.0 * M_PI * hz / SampleRate;
        const double cutoff = 220.0 + 1100.0 * std::exp(-t / 0.07);
        const double tone = filterStep(filter, filterTuning(cutoff, 1.1), saw).low * 0.7 + std::sin(subPhase) * 0.5;
        const double decay = 0.75 + 0.25 * std::exp(-t / 0.15);
        const double level = attackReleaseLevel(t, 0.004, length, release) * decay;
        addFrame(buffer, first + i, note.velocity * level * tone, centre);
    }
}

void addPadNote(StereoBuffer &buffer, const ToneNote &note, double cutoffHz)
{
    const double attack = 0.09;
    const double release = 0.35;
    const double length = note.lengthMs / 1000.0;
    const size_t first = frameAtMs(note.startMs);
    const size_t frames = static_cast<size_t>((length + release) * SampleRate);
    const double hz = pitchHz(note.pitch);
    // Two sawtooths a few cents apart, one to each side, give the pad its width.
    const double detune = std::pow(2.0, 6.0 / 1200.0);
    const PanGains leftSide = panGains(note.pan - 0.5);
    const PanGains rightSide = panGains(note.pan + 0.5);
    const FilterTuning tuning = filterTuning(cutoffHz, 0.7);
    FilterState leftFilter;
    FilterState rightFilter;
    double leftPhase = 0.0;
    double rightPhase = 0.37;
    for (size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        const double level = note.velocity * attackReleaseLevel(t, attack, length, release);
        const double left = filterStep(leftFilter, tuning, sawStep(leftPhase, hz / detune / SampleRate)).low;
        const double right = filterStep(rightFilter, tuning, sawStep(rightPhase, hz * detune / SampleRate)).low;
        addFrame(buffer, first + i, level * left, leftSide);
        addFrame(buffer, first + i, level * right, rightSide);
    }
}

void addPianoNote(StereoBuffer &buffer, const ToneNote &note)
{
    const double release = 0.12;
    const double length = note.lengthMs / 1000.0;
    const size_t first = frameAtMs(note.startMs);
    const size_t frames = static_cast<size_t>((length + release) * SampleRate);
    const double hz = pitchHz(note.pitch);
    const PanGains pan = panGains(note.pan);
    for (size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        // Frequency modulation at the note's own frequency: bright at the strike, mellow as it fades.
        const double index = 1.1 * std::exp(-t / 0.22) + 0.15;
        const double angle = 2.0 * M_PI * hz * t;
        const double tone = std::sin(angle + index * std::sin(angle));
        const double level = attackReleaseLevel(t, 0.003, length, release) * std::exp(-t / 1.1);
        addFrame(buffer, first + i, note.velocity * level * tone, pan);
    }
}
