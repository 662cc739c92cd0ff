#include "detector_scoring.h"

#include <algorithm>
#include <cmath>

DetectorScore scoreDetector(const SungVoice &voice, const PitchDetectorSetup &setup, double minConfidence)
{
    DetectorScore score;
    PitchDetector *detector = pitchDetectorCreate(setup);
    if (detector == nullptr)
        return score;
    std::vector<PitchReading> readings(voice.samples.size() / size_t(setup.hopFrames) + 1);
    const int count = pitchDetectorFeed(*detector, voice.samples.data(), int(voice.samples.size()), readings.data());
    pitchDetectorDestroy(detector);
    std::vector<double> cents;
    int octaveErrors = 0;
    for (int i = 0; i < count; i++) {
        const long end = long(i + 1) * setup.hopFrames;
        const long start = end - setup.windowFrames;
        if (start < 0)
            continue;
        const double atStart = voice.truePitch[size_t(start)];
        const double atEnd = voice.truePitch[size_t(end - 1)];
        if (std::isnan(atStart) || std::isnan(atEnd) || std::fabs(atStart - atEnd) > 1.0)
            continue;
        score.judgedHops++;
        const PitchReading &reading = readings[size_t(i)];
        if (reading.confidence < minConfidence)
            continue;
        score.confidentHops++;
        const double error = reading.semitones - voice.truePitch[size_t(end - setup.windowFrames / 2)];
        if (std::fabs(error) > 6.0)
            octaveErrors++;
        else
            cents.push_back(std::fabs(error) * 100.0);
    }
    if (!cents.empty()) {
        std::nth_element(cents.begin(), cents.begin() + long(cents.size() / 2), cents.end());
        score.medianCents = cents[cents.size() / 2];
    }
    score.octaveErrorShare = score.confidentHops > 0 ? double(octaveErrors) / score.confidentHops : 1.0;
    return score;
}
