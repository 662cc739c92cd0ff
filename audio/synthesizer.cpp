#include "audio/synthesizer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "audio/tone_voice.h"
#include "rules/menu_state.h"
#include "rules/settings_state.h"
#include "rules/wave_type.h"
#include "rules/window_state.h"

namespace {
constexpr double Pi = 3.141592653589793;
constexpr double PitchLimit = 96.0;

// Level before the gain at position f (0..1) of the cycle; `phase` in the wave type's own unit.
double waveLevel(int waveType, double f, double phase)
{
    if (waveType == WaveSine)
        return std::sin(2.0 * Pi * f + phase) * 4096.0 * 2.0;
    const double u = f + phase;
    const double w = u - std::trunc(u);
    switch (waveType) {
    case WaveSquare:
        return w < 0.5 ? 6144.0 : -6144.0;
    case WavePulse:
        return w < 0.25 ? 6144.0 : -6144.0;
    case WaveTriangle:
        return w < 0.5 ? 10240.0 - 40960.0 * w : 40960.0 * (w - 0.5) - 10240.0;
    default: // WaveSawtooth
        return 6144.0 - 12288.0 * w;
    }
}
// Position 0..1 of sample i inside its cycle.
double cyclePosition(uint32_t i, double period)
{
    const double k = std::trunc(i / period);
    return (i - k * period) / period;
}
} // namespace

SynthConstants synth;

SynthConstants::SynthConstants()
{
    double ratio = 1.0;
    semitoneRatio = std::pow(2.0, 1.0 / 12.0);
    for (int i = 0; i < 3; i++)
        ratio *= semitoneRatio;
    referenceHz = static_cast<int>(440.0 * ratio);
}

double playablePitch(double pitch)
{
    if (std::isnan(pitch))
        return 0.0;
    return std::clamp(pitch, -PitchLimit, PitchLimit);
}

double pitchHz(double pitch) { return synth.referenceHz * std::pow(synth.semitoneRatio, pitch); }

void synthesizeBuffer(int slot, int voiceIndex, double pitch)
{
    ToneVoice &voice = voices[voiceIndex];
    PcmBuffer &buffer = voice.buffers[slot];
    const double period = voice.format.sampleRate / pitchHz(playablePitch(pitch));
    const int waveType = menu.waveType.load(std::memory_order_relaxed);
    const double phase = voice.phase.load(std::memory_order_relaxed);
    const uint32_t n = buffer.length / 2;
    const double volume = settings.toneVolume.load(std::memory_order_relaxed) / double(DefaultVolume);
    for (uint32_t i = 0; i < n; i++) {
        const double f = cyclePosition(i, period);
        const double gain = window.voiceGain.load(std::memory_order_relaxed) * volume;
        const double level = std::trunc(waveLevel(waveType, f, phase) * gain);
        const int16_t sample = int16_t(std::clamp(level, -32768.0, 32767.0));
        std::memcpy(buffer.data + 2 * i, &sample, 2);
    }
    // The next buffer starts where this one's sample n would have been.
    const double f = cyclePosition(n, period);
    double next = phase;
    if (waveType == WaveSine) {
        next += TwoPi * f;
        while (next >= TwoPi)
            next -= TwoPi;
    } else {
        next += f;
        while (next >= 1.0)
            next -= 1.0;
    }
    voice.phase.store(next, std::memory_order_relaxed);
}
