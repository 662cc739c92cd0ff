#include "rules/voice_pitch.h"

#include <algorithm>
#include <cmath>

double foldToNearestOctave(double sung, double target) { return sung + 12.0 * std::ceil((target - sung) / 12.0 - 0.5); }

double smoothVoicePitch(VoicePitchSmoothing &smoothing, double pitch, double hopMs)
{
    if (!smoothing.primed || std::fabs(pitch - smoothing.value) >= VoiceJitterSemitones) {
        smoothing.value = pitch;
        smoothing.primed = true;
        return pitch;
    }
    // A one-pole average whose time constant, the lag behind a steady pitch, is the allowed lag,
    // whatever the hop.
    const double weight = 1.0 - std::exp(-hopMs / VoiceSmoothingLagMs);
    smoothing.value += weight * (pitch - smoothing.value);
    return smoothing.value;
}

double pointerXForPitch(double pitch, int clientWidth, int fieldMargin, int octave)
{
    const int halfField = std::max((clientWidth - 2 * fieldMargin) / 2, 1);
    return clientWidth / 2 + (pitch - 12.0 * (octave - 4)) * halfField / 12.0;
}
