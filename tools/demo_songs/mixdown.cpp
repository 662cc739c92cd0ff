#include "mixdown.h"

#include <algorithm>
#include <cmath>

#include "effects.h"

namespace {

struct StemLevels {
    double dry;
    double room;
    double echo;
};

void addScaled(StereoBuffer &target, const StereoBuffer &source, double gain)
{
    if (gain == 0.0)
        return;
    for (size_t i = 0; i < target.left.size(); ++i) {
        target.left[i] += static_cast<float>(source.left[i] * gain);
        target.right[i] += static_cast<float>(source.right[i] * gain);
    }
}

} // namespace

StereoBuffer mixdown(const SongStems &stems, double msPerBeat)
{
    // Drums and bass carry the song, the pad sits behind them, and the guide stays quiet: the
    // player's own tone is the lead.
    const std::pair<const StereoBuffer *, StemLevels> stemLevels[] = {
        {&stems.drums, {0.65, 0.05, 0.0}}, {&stems.bass, {0.85, 0.0, 0.0}},    {&stems.pad, {0.18, 0.14, 0.0}},
        {&stems.piano, {0.25, 0.2, 0.1}},  {&stems.guide, {0.11, 0.07, 0.06}},
    };
    const size_t frames = stems.drums.left.size();
    StereoBuffer mix = silentBuffer(frames);
    StereoBuffer roomSend = silentBuffer(frames);
    StereoBuffer echoSend = silentBuffer(frames);
    for (const auto &[stem, levels] : stemLevels) {
        addScaled(mix, *stem, levels.dry);
        addScaled(roomSend, *stem, levels.room);
        addScaled(echoSend, *stem, levels.echo);
    }
    // A dotted eighth keeps the repeats between the melody's notes instead of on them.
    addScaled(mix, echo(echoSend, 0.75 * msPerBeat, 0.35), 1.0);
    addScaled(mix, reverb(roomSend), 1.0);

    float peak = 0.0f;
    for (size_t i = 0; i < frames; ++i)
        peak = std::max({peak, std::fabs(mix.left[i]), std::fabs(mix.right[i])});
    if (peak > 0.0f)
        addScaled(mix, mix, MusicPeak / peak - 1.0);
    return mix;
}
