#include "sung_voice.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>

#include "library/chart.h"
#include "library/chart_parser.h"

namespace {

constexpr double Pi = 3.14159265358979323846;

// A two-pole resonator, the classic model of one formant.
struct Formant {
    double a1 = 0, a2 = 0, gain = 0, y1 = 0, y2 = 0;
};

Formant makeFormant(double hz, double bandwidthHz, int rate)
{
    Formant f;
    const double r = std::exp(-Pi * bandwidthHz / rate);
    f.a1 = 2.0 * r * std::cos(2.0 * Pi * hz / rate);
    f.a2 = -r * r;
    f.gain = 1.0 - r;
    return f;
}

double run(Formant &f, double x)
{
    const double y = f.gain * x + f.a1 * f.y1 + f.a2 * f.y2;
    f.y2 = f.y1;
    f.y1 = y;
    return y;
}

// A sawtooth with its step smoothed (polyBLEP), so the test voice carries no aliasing that a
// real throat would not make.
double polyBlep(double t, double dt)
{
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

} // namespace

std::string demoChartPath() { return std::string(LUMATIDE_BUILD_DIR) + "/data/paper_kites.txt"; }

std::vector<SungNote> melodyOfChart(const std::string &chartPath, const SungVoiceStyle &style)
{
    Chart parsed;
    std::vector<SungNote> notes;
    if (!parseChartFile(chartPath, "", 1, parsed))
        return notes;
    for (int i = 0; i < parsed.noteCount; i++) {
        const ChartNote &note = parsed.notes[size_t(i)];
        const double start = note.timeMs + style.latenessMs;
        const double next = i + 1 < parsed.noteCount ? parsed.notes[size_t(i) + 1].timeMs + style.latenessMs
                                                     : start + parsed.msPerBeat + style.syllableGapMs;
        notes.push_back(SungNote{start, next - style.syllableGapMs, note.pitch + 12.0 * style.octaveShift});
    }
    return notes;
}

SungVoice singMelody(const std::vector<SungNote> &notes, const SungVoiceStyle &style, double tailMs)
{
    SungVoice voice;
    voice.sampleRate = style.sampleRate;
    voice.notes = notes;
    const double endMs = notes.empty() ? tailMs : notes.back().endMs + tailMs;
    const size_t frames = size_t(endMs * style.sampleRate / 1000.0);
    voice.samples.assign(frames, 0.0f);
    voice.truePitch.assign(frames, std::numeric_limits<double>::quiet_NaN());

    // An open "ah": formants near 800 and 1200 Hz.
    Formant first = makeFormant(800.0, 80.0, style.sampleRate);
    Formant second = makeFormant(1200.0, 90.0, style.sampleRate);
    std::mt19937 noise(7);
    std::normal_distribution<double> white(0.0, 1.0);
    const double rampMs = 10.0;
    double phase = 0.0;
    size_t next = 0;
    std::vector<double> dry(frames, 0.0);
    for (size_t i = 0; i < frames; i++) {
        const double ms = i * 1000.0 / style.sampleRate;
        while (next < notes.size() && notes[next].endMs <= ms)
            next++;
        if (next >= notes.size() || ms < notes[next].startMs)
            continue;
        const SungNote &note = notes[next];
        const double vibrato = style.vibratoCents / 100.0 * std::sin(2.0 * Pi * 5.0 * (ms - note.startMs) / 1000.0);
        const double pitch = note.pitch + vibrato;
        const double hz = 523.2511306011972 * std::pow(2.0, pitch / 12.0);
        const double dt = hz / style.sampleRate;
        phase += dt;
        if (phase >= 1.0)
            phase -= 1.0;
        const double saw = 2.0 * phase - 1.0 - polyBlep(phase, dt);
        const double envelope = std::min({1.0, (ms - note.startMs) / rampMs, (note.endMs - ms) / rampMs});
        dry[i] = style.peakLevel * envelope * saw;
        voice.truePitch[i] = pitch;
    }
    // The formants colour the voice; then the breath sits a fixed distance below the voiced level.
    double voicedEnergy = 0.0;
    size_t voicedFrames = 0;
    std::vector<double> wet(frames);
    for (size_t i = 0; i < frames; i++) {
        wet[i] = run(first, dry[i]) + run(second, dry[i]) + 0.3 * dry[i];
        if (!std::isnan(voice.truePitch[i])) {
            voicedEnergy += wet[i] * wet[i];
            voicedFrames++;
        }
    }
    const double voicedRms = voicedFrames > 0 ? std::sqrt(voicedEnergy / voicedFrames) : 0.0;
    const double breath = voicedRms * std::pow(10.0, -style.breathBelowDb / 20.0);
    for (size_t i = 0; i < frames; i++)
        voice.samples[i] = float(wet[i] + breath * white(noise));
    return voice;
}

bool writeWav(const std::string &path, const SungVoice &voice)
{
    FILE *file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    auto put = [&](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; i++)
            std::fputc(int((value >> (8 * i)) & 0xFF), file);
    };
    const uint32_t dataBytes = uint32_t(voice.samples.size() * 2);
    std::fputs("RIFF", file);
    put(36 + dataBytes, 4);
    std::fputs("WAVEfmt ", file);
    put(16, 4);
    put(1, 2);
    put(1, 2);
    put(uint32_t(voice.sampleRate), 4);
    put(uint32_t(voice.sampleRate) * 2, 4);
    put(2, 2);
    put(16, 2);
    std::fputs("data", file);
    put(dataBytes, 4);
    for (float sample : voice.samples)
        put(uint32_t(uint16_t(int16_t(std::lround(std::fmax(-1.0f, std::fmin(1.0f, sample)) * 32767.0f)))), 2);
    return std::fclose(file) == 0;
}
