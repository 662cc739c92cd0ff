// libsamplerate's converters on what the mixer asks of them: 1024 output frames of 48 kHz stereo
// music brought to the 44.1 kHz mix, and, for an output opened at the music's rate instead, one
// 44.1 kHz mono tone voice brought up to 48 kHz (three voices sound at once with unison on).
// Quality: the converted sine against the exact sine at the output rate, as a signal-to-error
// ratio in dB, at 1 kHz, 8 kHz and 16 kHz (the guide melody, cymbals, the edge of hearing).
#include <benchmark/benchmark.h>

#include <samplerate.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double Pi = 3.141592653589793;
constexpr int OutFrames = 1024;

struct Conversion {
    int fromRate, toRate, channels;
};

const Conversion musicDown{48000, 44100, 2};
const Conversion voiceUp{44100, 48000, 1};

std::vector<float> sine(int rate, int channels, size_t frames, double hz, double delaySeconds)
{
    std::vector<float> samples(frames * size_t(channels));
    for (size_t i = 0; i < frames; i++)
        for (int c = 0; c < channels; c++)
            samples[i * channels + c] = float(0.5 * std::sin(2 * Pi * hz * (double(i) / rate - delaySeconds)));
    return samples;
}

// Signal-to-error ratio of a converted sine, with the converter's delay found by trying the
// delays around its nominal one (sinc converters delay by a fraction of a frame).
double signalToErrorDb(int type, const Conversion &c, double hz)
{
    const double ratio = double(c.toRate) / c.fromRate;
    const size_t inFrames = size_t(c.fromRate) / 4;
    std::vector<float> in = sine(c.fromRate, c.channels, inFrames, hz, 0.0);
    std::vector<float> out(size_t(double(inFrames) * ratio + 64) * c.channels);
    SRC_DATA data{};
    data.data_in = in.data();
    data.input_frames = long(inFrames);
    data.data_out = out.data();
    data.output_frames = long(out.size() / c.channels);
    data.src_ratio = ratio;
    data.end_of_input = 1;
    src_simple(&data, type, c.channels);
    const size_t frames = size_t(data.output_frames_gen);
    const size_t from = frames / 4, to = frames * 3 / 4; // clear of the edges
    double best = -1e9;
    for (int step = -200; step <= 200; step++) {
        const double delay = step * 0.25 / c.toRate;
        std::vector<float> exact = sine(c.toRate, c.channels, frames, hz, delay);
        double signal = 0, error = 0;
        for (size_t i = from * c.channels; i < to * c.channels; i++) {
            signal += double(exact[i]) * exact[i];
            error += (double(out[i]) - exact[i]) * (double(out[i]) - exact[i]);
        }
        best = std::max(best, 10 * std::log10(signal / std::max(error, 1e-30)));
    }
    return best;
}

void convert(benchmark::State &state, const Conversion &c)
{
    const int type = int(state.range(0));
    int error = 0;
    SRC_STATE *converter = src_new(type, c.channels, &error);
    const double ratio = double(c.toRate) / c.fromRate;
    const int inFrames = int(OutFrames / ratio) + 8;
    std::vector<float> in(size_t(inFrames) * c.channels);
    for (size_t i = 0; i < in.size(); i++)
        in[i] = float(std::sin(double(i) * 0.01) * 0.3 + std::sin(double(i) * 0.7) * 0.1);
    std::vector<float> out(size_t(OutFrames) * c.channels);
    for (auto _ : state) {
        SRC_DATA data{};
        data.data_in = in.data();
        data.input_frames = inFrames;
        data.data_out = out.data();
        data.output_frames = OutFrames;
        data.src_ratio = ratio;
        src_process(converter, &data);
        benchmark::DoNotOptimize(out.data());
    }
    src_delete(converter);
    state.SetLabel(src_get_name(type));
    state.counters["snr_1k_dB"] = signalToErrorDb(type, c, 1000);
    state.counters["snr_8k_dB"] = signalToErrorDb(type, c, 8000);
    state.counters["snr_16k_dB"] = signalToErrorDb(type, c, 16000);
}

void BM_MusicTo44k(benchmark::State &state) { convert(state, musicDown); }
void BM_VoiceTo48k(benchmark::State &state) { convert(state, voiceUp); }

// SRC_SINC_MEDIUM_QUALITY 1, SRC_SINC_FASTEST 2, SRC_ZERO_ORDER_HOLD 3, SRC_LINEAR 4.
BENCHMARK(BM_MusicTo44k)
    ->Arg(SRC_SINC_MEDIUM_QUALITY)
    ->Arg(SRC_SINC_FASTEST)
    ->Arg(SRC_LINEAR)
    ->Arg(SRC_ZERO_ORDER_HOLD)
    ->ArgName("converter")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_VoiceTo48k)->Arg(SRC_SINC_FASTEST)->Arg(SRC_LINEAR)->ArgName("converter")->Unit(benchmark::kMicrosecond);

} // namespace
