#include "rules/voice_gain.h"

#include <cmath>

double voiceGainForPointer(int y, int clientHeight, int unison)
{
    const int fadeTop = static_cast<int>(clientHeight * (35.0 / 48.0));
    double band = 1.0;
    // A pointer at or past the bottom edge is silent rather than negative.
    if (y >= fadeTop)
        band = clientHeight > fadeTop ? std::fmax(0.0, 1.0 - double(y - fadeTop) / (clientHeight - fadeTop)) : 0.0;
    return band / (2 * unison + 1);
}

double startingVoiceGain(int unison) { return 0.75 / (2 * unison + 1); }
