#include <algorithm>
#include <cmath>

#include "images.h"

namespace {

constexpr int Size = 64;

Colour mix(const Colour &a, const Colour &b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

// The icon's rounded square: a pixel in from the edges, corners of radius 12.
bool insideIcon(float x, float y)
{
    constexpr float Inset = 1, Radius = 12;
    constexpr float lo = Inset + Radius, hi = Size - Inset - Radius;
    const float dx = std::max({lo - x, 0.0f, x - hi}), dy = std::max({lo - y, 0.0f, y - hi});
    return dx * dx + dy * dy <= Radius * Radius;
}

// The swell of the tide: a gentle wave across the icon at height base.
float swell(float x, float base, float phase) { return base + 3.2f * std::sin(2 * Pi * (x / 40.0f) + phase); }

} // namespace

// Night sea under a rising moon: the light (luma) on the tide.
Canvas drawWindowIcon()
{
    Canvas canvas = makeCanvas(Size, Size);
    const Colour deepSky{0.06f, 0.08f, 0.22f, 1}, horizon{0.20f, 0.32f, 0.62f, 1};
    const Colour deepSea{0.02f, 0.20f, 0.30f, 1}, shallowSea{0.05f, 0.45f, 0.55f, 1};
    const float seaLevel = 38;

    auto seaAt = [&](float y) { return mix(shallowSea, deepSea, (y - seaLevel) / (Size - seaLevel)); };

    fillShape(canvas, 0, 0, Size, Size, insideIcon,
              [&](float, float y) { return y < seaLevel ? mix(deepSky, horizon, y / seaLevel) : seaAt(y); });

    // The moon with a soft halo.
    const float moonX = 40, moonY = 22, moonRadius = 10;
    fillShape(
        canvas, 0, 0, Size, int(seaLevel) + 4,
        [&](float x, float y) { return std::hypot(x - moonX, y - moonY) < moonRadius + 6 && insideIcon(x, y); },
        [&](float x, float y) {
            const float t = (std::hypot(x - moonX, y - moonY) - moonRadius) / 6;
            return Colour{1.0f, 0.95f, 0.75f, 0.35f * (1 - std::clamp(t, 0.0f, 1.0f))};
        });
    fillShape(
        canvas, 0, 0, Size, Size, [&](float x, float y) { return std::hypot(x - moonX, y - moonY) < moonRadius; },
        [&](float, float y) {
            return mix(Colour{1, 0.98f, 0.88f, 1}, Colour{1, 0.85f, 0.55f, 1}, (y - 12) / 20);
        });

    // The sea rises over the moon's lower edge, then two crests catch its light.
    fillShape(
        canvas, 0, 0, Size, Size, [&](float x, float y) { return y > swell(x, seaLevel, 0) && insideIcon(x, y); },
        [&](float, float y) { return seaAt(y); });
    for (int crest = 0; crest < 2; ++crest) {
        const float base = seaLevel + 1 + crest * 11, phase = crest * 2.2f;
        std::vector<Point> path;
        for (float x = 6; x <= Size - 6; x += 1)
            path.push_back({x, swell(x, base, phase)});
        strokePolyline(canvas, path, crest == 0 ? 2.0f : 1.6f,
                       crest == 0 ? Colour{0.95f, 0.97f, 1.0f, 1} : Colour{0.70f, 0.88f, 0.95f, 0.9f});
    }
    return canvas;
}
