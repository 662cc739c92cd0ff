#include "dsp.h"

#include <algorithm>

#include "stereo_buffer.h"

FilterTuning filterTuning(double cutoffHz, double q)
{
    const double limited = std::clamp(cutoffHz, 10.0, SampleRate * 0.45);
    return FilterTuning{std::tan(M_PI * limited / SampleRate), 1.0 / q};
}

FilterOutputs filterStep(FilterState &state, FilterTuning tuning, double input)
{
    const double a1 = 1.0 / (1.0 + tuning.g * (tuning.g + tuning.k));
    const double a2 = tuning.g * a1;
    const double a3 = tuning.g * a2;
    const double v3 = input - state.ic2;
    const double v1 = a1 * state.ic1 + a2 * v3;
    const double v2 = state.ic2 + a2 * state.ic1 + a3 * v3;
    state.ic1 = 2.0 * v1 - state.ic1;
    state.ic2 = 2.0 * v2 - state.ic2;
    return FilterOutputs{v2, v1, input - tuning.k * v1 - v2};
}

double polyBlep(double phase, double phaseStep)
{
    if (phase < phaseStep) {
        const double t = phase / phaseStep;
        return t + t - t * t - 1.0;
    }
    if (phase > 1.0 - phaseStep) {
        const double t = (phase - 1.0) / phaseStep;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

double sawStep(double &phase, double phaseStep)
{
    const double value = 2.0 * phase - 1.0 - polyBlep(phase, phaseStep);
    phase += phaseStep;
    phase -= std::floor(phase);
    return value;
}

double attackReleaseLevel(double t, double attack, double length, double release)
{
    if (t < 0.0 || t >= length + release)
        return 0.0;
    const double rise = attack > 0.0 ? std::min(1.0, t / attack) : 1.0;
    if (t < length)
        return rise;
    const double held = attack > 0.0 ? std::min(1.0, length / attack) : 1.0;
    return held * (1.0 - (t - length) / release);
}
