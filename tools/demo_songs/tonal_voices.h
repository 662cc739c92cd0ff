#pragma once
// The pitched instruments of the backing: a filtered sawtooth bass, a soft detuned pad and a
// bell-like electric piano. Times are in ms of the music, pitches in semitones (dsp.h).
#include "stereo_buffer.h"

struct ToneNote {
    double startMs;
    double lengthMs;
    double pitch;
    double velocity;
    double pan;
};

void addBassNote(StereoBuffer &buffer, const ToneNote &note);
void addPadNote(StereoBuffer &buffer, const ToneNote &note, double cutoffHz);
void addPianoNote(StereoBuffer &buffer, const ToneNote &note);
