#pragma once
// How well the pitch detector follows a test voice: every hop whose window lies wholly inside
// one sung syllable is compared with the pitch sung at the window's centre.
#include "audio/pitch_detector.h"
#include "sung_voice.h"

struct DetectorScore {
    int judgedHops = 0;            // hops wholly inside a syllable
    int confidentHops = 0;         // of those, read with at least the confidence asked for
    double medianCents = 0.0;      // |error| of the confident hops
    double octaveErrorShare = 0.0; // confident hops more than half an octave off
};

DetectorScore scoreDetector(const SungVoice &voice, const PitchDetectorSetup &setup, double minConfidence);
