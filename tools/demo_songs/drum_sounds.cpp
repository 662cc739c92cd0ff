#include "drum_sounds.h"

#include <algorithm>
#include <cmath>

static void addKick(StereoBuffer &buffer, size_t frame, double velocity, NoiseSource &noise)
{
    const size_t length = SampleRate / 2;
    const PanGains centre = panGains(0.0);
    FilterState clickFilter;
    const FilterTuning clickTuning = filterTuning(3000.0, 0.7);
    double phase = 0.0;
    for (size_t i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        const double hz = 48.0 + 100.0 * std::exp(-t / 0.035);
        phase += 2.0 * M_PI * hz / SampleRate;
        const double body = std::sin(phase) * std::exp(-t / 0.3) * std::min(1.0, t / 0.0015);
        const double click = filterStep(clickFilter, clickTuning, whiteNoise(noise)).low * std::exp(-t / 0.004);
        addFrame(buffer, frame + i, velocity * std::tanh(1.4 * body + 0.3 * click), centre);
    }
}

static void addSnare(StereoBuffer &buffer, size_t frame, double velocity, NoiseSource &noise)
{
    const size_t length = SampleRate * 3 / 10;
    const PanGains pan = panGains(0.05);
    FilterState bodyFilter;
    FilterState airFilter;
    const FilterTuning bodyTuning = filterTuning(2200.0, 0.8);
    const FilterTuning airTuning = filterTuning(6000.0, 0.7);
    for (size_t i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        const double white = whiteNoise(noise);
        const double rattle = filterStep(bodyFilter, bodyTuning, white).band * 1.4 +
                              filterStep(airFilter, airTuning, white).high * 0.4;
        const double tone = std::sin(2.0 * M_PI * 185.0 * t) * std::exp(-t / 0.045) * 0.55 +
                            std::sin(2.0 * M_PI * 330.0 * t) * std::exp(-t / 0.025) * 0.25;
        const double level = std::exp(-t / 0.11) * std::min(1.0, t / 0.001);
        addFrame(buffer, frame + i, velocity * (rattle * level + tone), pan);
    }
}

static void addCymbal(StereoBuffer &buffer, size_t frame, double velocity, NoiseSource &noise, double cutoffHz,
                      double decay, double seconds, double pan)
{
    const size_t length = static_cast<size_t>(seconds * SampleRate);
    const PanGains gains = panGains(pan);
    FilterState filter;
    const FilterTuning tuning = filterTuning(cutoffHz, 0.6);
    for (size_t i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        const double level = std::exp(-t / decay) * std::min(1.0, t / 0.0008);
        addFrame(buffer, frame + i, velocity * level * filterStep(filter, tuning, whiteNoise(noise)).high, gains);
    }
}

void addDrum(StereoBuffer &buffer, size_t frame, Drum drum, double velocity, NoiseSource &noise)
{
    switch (drum) {
    case Drum::Kick:
        addKick(buffer, frame, velocity, noise);
        break;
    case Drum::Snare:
        addSnare(buffer, frame, velocity, noise);
        break;
    case Drum::ClosedHat:
        addCymbal(buffer, frame, velocity * 0.5, noise, 8000.0, 0.03, 0.15, 0.3);
        break;
    case Drum::OpenHat:
        addCymbal(buffer, frame, velocity * 0.45, noise, 7000.0, 0.16, 0.6, 0.3);
        break;
    case Drum::Crash:
        addCymbal(buffer, frame, velocity * 0.5, noise, 4500.0, 0.9, 2.8, -0.35);
        break;
    }
}
