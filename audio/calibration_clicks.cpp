#include "audio/calibration_clicks.h"

#include <cmath>
#include <cstring>

#include "audio/pcm_device_release.h"
#include "audio/synthesizer.h"
#include "platform/pcm.h"
#include "rules/calibration_state.h"

namespace {

constexpr int ClickRate = 44100;
constexpr int ClickSamples = ClickRate * 30 / 1000;
constexpr double ClickPeak = 10240.0; // the synthesizer's loudest level
constexpr double DecayPerSample = 1.0 / (ClickRate * 0.006);
// Pitches in the synthesizer's semitones: the measured click two octaves above the reference
// tone stands out from any music, the count-in an octave lower.
constexpr double MeasuredPitch = 24.0;
constexpr double CountInPitch = 12.0;

PcmDevice device = 0;
PcmBuffer track[1];

void doneNothing(void *, PcmBuffer *) {}

// A cosine starts at its peak, so the click's onset is its first sample; a fast decay keeps it
// short and sharp.
void addClick(std::vector<int16_t> &samples, size_t start, double pitch)
{
    const double hz = pitchHz(pitch);
    for (int i = 0; i < ClickSamples && start + i < samples.size(); i++) {
        const double level = ClickPeak * std::exp(-i * DecayPerSample) * std::cos(TwoPi * hz * i / ClickRate);
        samples[start + i] = static_cast<int16_t>(std::trunc(level));
    }
}

} // namespace

std::vector<int16_t> calibrationClickSamples()
{
    std::vector<int16_t> samples(size_t(ClickTrackMs) * ClickRate / 1000, 0);
    for (int i = 0; i < AllClicks; i++)
        addClick(samples, size_t(calibrationClickMs(i)) * ClickRate / 1000,
                 i < CountInClicks ? CountInPitch : MeasuredPitch);
    return samples;
}

bool startCalibrationClicks()
{
    stopCalibrationClicks();
    if (pcmOpen(&device, PcmFormat{1, ClickRate}, doneNothing, nullptr) != PcmOk)
        return false;
    const std::vector<int16_t> samples = calibrationClickSamples();
    PcmBuffer &buffer = track[0];
    buffer.length = static_cast<uint32_t>(samples.size() * 2);
    buffer.data = new uint8_t[buffer.length];
    std::memcpy(buffer.data, samples.data(), buffer.length);
    if (pcmWrite(device, &buffer) != PcmOk) {
        stopCalibrationClicks();
        return false;
    }
    return true;
}

bool calibrationClicksHeardMs(uint32_t &outMs)
{
    if (device == 0)
        return false;
    outMs = static_cast<uint32_t>(pcmPositionFrames(device) * 1000 / ClickRate);
    return true;
}

void stopCalibrationClicks()
{
    if (device != 0)
        closeDeviceAndFreeBuffers(device, track);
}
