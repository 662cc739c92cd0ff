#include "audio/pitch_detector.h"

#include <aubio/aubio.h>

#include <cmath>

struct PitchDetector {
    aubio_pitch_t *pitch = nullptr;
    fvec_t *hop = nullptr;
    fvec_t *result = nullptr;
    int filled = 0;
};

namespace {

// MIDI note of chart pitch 0.
constexpr double ChartZeroMidi = 72.0;

const char *aubioName(PitchMethod method)
{
    switch (method) {
    case PitchMethod::Yin:
        return "yin";
    case PitchMethod::YinFast:
        return "yinfast";
    case PitchMethod::YinFft:
        return "yinfft";
    }
    return "yinfast";
}

PitchReading readHop(PitchDetector &detector)
{
    const fvec_t &hop = *detector.hop;
    double energy = 0.0;
    for (uint_t i = 0; i < hop.length; i++)
        energy += double(hop.data[i]) * hop.data[i];
    aubio_pitch_do(detector.pitch, detector.hop, detector.result);
    PitchReading reading;
    const double rms = std::sqrt(energy / hop.length);
    reading.levelDb = rms > 1e-6 ? 20.0 * std::log10(rms) : -120.0;
    const double midi = detector.result->data[0];
    reading.confidence = midi > 0.0 ? aubio_pitch_get_confidence(detector.pitch) : 0.0;
    reading.semitones = midi > 0.0 ? midi - ChartZeroMidi : 0.0;
    return reading;
}

} // namespace

PitchDetectorSetup voicePitchSetup(int sampleRate)
{
    PitchDetectorSetup setup;
    setup.sampleRate = sampleRate;
    setup.method = PitchMethod::YinFast;
    // Powers of two keep the FFT fast: 1024 frames from 32 to 64 kHz.
    setup.windowFrames = 1024;
    while (setup.windowFrames * 1000 < sampleRate * 16)
        setup.windowFrames *= 2;
    while (setup.windowFrames > 64 && setup.windowFrames * 1000 > sampleRate * 32)
        setup.windowFrames /= 2;
    setup.hopFrames = setup.windowFrames / 4;
    return setup;
}

PitchDetector *pitchDetectorCreate(const PitchDetectorSetup &setup)
{
    if (setup.hopFrames < 1 || setup.windowFrames < setup.hopFrames || setup.sampleRate < 1000)
        return nullptr;
    aubio_pitch_t *pitch = new_aubio_pitch(aubioName(setup.method), uint_t(setup.windowFrames), uint_t(setup.hopFrames),
                                           uint_t(setup.sampleRate));
    if (pitch == nullptr)
        return nullptr;
    aubio_pitch_set_unit(pitch, "midi");
    // Quiet hops are told apart by our own level gate, which the player can set.
    aubio_pitch_set_silence(pitch, -120.0f);
    auto *detector = new PitchDetector;
    detector->pitch = pitch;
    detector->hop = new_fvec(uint_t(setup.hopFrames));
    detector->result = new_fvec(1);
    return detector;
}

void pitchDetectorDestroy(PitchDetector *detector)
{
    if (detector == nullptr)
        return;
    del_aubio_pitch(detector->pitch);
    del_fvec(detector->hop);
    del_fvec(detector->result);
    delete detector;
}

int pitchDetectorFeed(PitchDetector &detector, const float *samples, int frames, PitchReading *readings)
{
    int written = 0;
    const int hopFrames = int(detector.hop->length);
    for (int i = 0; i < frames; i++) {
        detector.hop->data[detector.filled++] = samples[i];
        if (detector.filled < hopFrames)
            continue;
        detector.filled = 0;
        readings[written++] = readHop(detector);
    }
    return written;
}

double pitchDetectorWindowMs(const PitchDetectorSetup &setup) { return 1000.0 * setup.windowFrames / setup.sampleRate; }
