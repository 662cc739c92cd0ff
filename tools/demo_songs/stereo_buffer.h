#pragma once
// The canvas every instrument adds into: 44100 Hz stereo floats, the format the music is encoded in.
#include <cmath>
#include <cstddef>
#include <vector>

constexpr int SampleRate = 44100;

struct StereoBuffer {
    std::vector<float> left;
    std::vector<float> right;
};

struct PanGains {
    double left;
    double right;
};

inline StereoBuffer silentBuffer(size_t frames)
{
    return StereoBuffer{std::vector<float>(frames, 0.0f), std::vector<float>(frames, 0.0f)};
}

inline size_t frameAtMs(double ms)
{
    return ms <= 0.0 ? 0 : static_cast<size_t>(std::llround(ms * SampleRate / 1000.0));
}

// Equal-power pan, -1 hard left to +1 hard right, so a sound keeps its loudness wherever it sits.
inline PanGains panGains(double pan)
{
    const double angle = (pan + 1.0) * 0.25 * M_PI;
    return PanGains{std::cos(angle), std::sin(angle)};
}

inline void addFrame(StereoBuffer &buffer, size_t frame, double value, PanGains pan)
{
    if (frame >= buffer.left.size())
        return;
    buffer.left[frame] += static_cast<float>(value * pan.left);
    buffer.right[frame] += static_cast<float>(value * pan.right);
}
