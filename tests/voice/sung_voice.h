#pragma once
// Test voices: a demo chart's melody "sung" by a sawtooth through two vowel formants, with
// vibrato, breath noise and a gap between syllables, and the pitch it sang at every frame.
#include <cstdint>
#include <string>
#include <vector>

struct SungNote {
    double startMs = 0.0;
    double endMs = 0.0; // the voice stops here: the next note's time less the syllable gap
    double pitch = 0.0; // semitones relative to MIDI 72, as sung
};

struct SungVoiceStyle {
    int sampleRate = 44100;
    double octaveShift = 0.0;    // whole octaves added to the written pitch (-1, -2 for low voices)
    double latenessMs = 0.0;     // every syllable this much after its note
    double peakLevel = 0.11;     // amplitude before the formants: a median of about -20 dBFS sung
    double vibratoCents = 30.0;  // +- around the note at 5 Hz
    double breathBelowDb = 30.0; // breath noise level under the voice
    double syllableGapMs = 80.0;
};

struct SungVoice {
    std::vector<float> samples;
    std::vector<double> truePitch; // per frame; NaN while silent
    std::vector<SungNote> notes;
    int sampleRate = 0;
};

// The notes of a chart file as a singer would take them: each held until the gap before the next.
std::vector<SungNote> melodyOfChart(const std::string &chartPath, const SungVoiceStyle &style);
SungVoice singMelody(const std::vector<SungNote> &notes, const SungVoiceStyle &style, double tailMs = 500.0);
// The demo chart the voice tests sing.
std::string demoChartPath();
bool writeWav(const std::string &path, const SungVoice &voice);
