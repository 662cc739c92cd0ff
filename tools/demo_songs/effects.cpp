#include "effects.h"

#include "dsp.h"

namespace {

struct DelayLine {
    std::vector<float> samples;
    size_t at = 0;
    double damped = 0.0;
};

DelayLine delayLine(size_t length) { return DelayLine{std::vector<float>(length, 0.0f), 0, 0.0}; }

// Feedback comb with a low-pass in its loop, so the room's tail darkens as it fades.
double combStep(DelayLine &line, double input, double feedback, double damping)
{
    const double out = line.samples[line.at];
    line.damped = out * (1.0 - damping) + line.damped * damping;
    line.samples[line.at] = static_cast<float>(input + line.damped * feedback);
    line.at = (line.at + 1) % line.samples.size();
    return out;
}

double allpassStep(DelayLine &line, double input)
{
    const double delayed = line.samples[line.at];
    line.samples[line.at] = static_cast<float>(input + delayed * 0.5);
    line.at = (line.at + 1) % line.samples.size();
    return delayed - input;
}

struct RoomChannel {
    DelayLine combs[4];
    DelayLine allpasses[2];
};

RoomChannel roomChannel(size_t spread)
{
    return RoomChannel{{delayLine(1116 + spread), delayLine(1277 + spread), delayLine(1422 + spread),
                        delayLine(1617 + spread)},
                       {delayLine(556 + spread), delayLine(441 + spread)}};
}

double roomStep(RoomChannel &room, double input)
{
    double sum = 0.0;
    for (DelayLine &comb : room.combs)
        sum += combStep(comb, input * 0.03, 0.84, 0.3);
    for (DelayLine &allpass : room.allpasses)
        sum = allpassStep(allpass, sum);
    return sum;
}

} // namespace

StereoBuffer reverb(const StereoBuffer &send)
{
    StereoBuffer wet = silentBuffer(send.left.size());
    RoomChannel left = roomChannel(0);
    RoomChannel right = roomChannel(23);
    for (size_t i = 0; i < send.left.size(); ++i) {
        const double mono = 0.5 * (send.left[i] + send.right[i]);
        wet.left[i] = static_cast<float>(roomStep(left, mono));
        wet.right[i] = static_cast<float>(roomStep(right, mono));
    }
    return wet;
}

StereoBuffer echo(const StereoBuffer &send, double delayMs, double feedback)
{
    StereoBuffer wet = silentBuffer(send.left.size());
    const size_t delay = frameAtMs(delayMs);
    if (delay == 0)
        return wet;
    DelayLine toRight = delayLine(delay);
    DelayLine toLeft = delayLine(delay);
    FilterState leftTone;
    FilterState rightTone;
    const FilterTuning tone = filterTuning(3500.0, 0.7);
    for (size_t i = 0; i < send.left.size(); ++i) {
        const double fromLeft = toRight.samples[toRight.at];
        const double fromRight = toLeft.samples[toLeft.at];
        wet.right[i] = static_cast<float>(fromLeft);
        wet.left[i] = static_cast<float>(fromRight);
        const double input = 0.5 * (send.left[i] + send.right[i]);
        toRight.samples[toRight.at] = static_cast<float>(filterStep(leftTone, tone, input + fromRight * feedback).low);
        toLeft.samples[toLeft.at] = static_cast<float>(filterStep(rightTone, tone, fromLeft * feedback).low);
        toRight.at = (toRight.at + 1) % delay;
        toLeft.at = (toLeft.at + 1) % delay;
    }
    return wet;
}
