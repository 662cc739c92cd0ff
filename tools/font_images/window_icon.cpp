#include <algorithm>
#include <cmath>

#include "images.h"

namespace {

// Every length below is in the units of the 64-pixel icon; each size scales them and is drawn
// afresh, so edges and strokes stay sharp at every size.
constexpr float Units = 64;

Colour mix(const Colour &a, const Colour &b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

// The icon's rounded square: a unit in from the edges, corners of radius 12.
bool insideIcon(float x, float y)
{
    constexpr float Inset = 1, Radius = 12;
    constexpr float lo = Inset + Radius, hi = Units - Inset - Radius;
    const float dx = std::max({lo - x, 0.0f, x - hi}), dy = std::max({lo - y, 0.0f, y - hi});
    return dx * dx + dy * dy <= Radius * Radius;
}

// The swell of the tide: a gentle wave across the icon at height base.
float swell(float x, float base, float phase) { return base + 3.2f * std::sin(2 * Pi * (x / 40.0f) + phase); }

} // namespace

// Night sea under a rising moon: the light (luma) on the tide.
Canvas drawWindowIcon(int size)
{
    Canvas canvas = makeCanvas(size, size);
    const float scale = size / Units;
    // Shapes are tested in icon units at each pixel's sample points.
    auto fill = [&](float x0, float y0, float x1, float y1, const std::function<bool(float, float)> &inside,
                    const std::function<Colour(float, float)> &colourAt) {
        fillShape(
            canvas, int(x0 * scale), int(y0 * scale), int(std::ceil(x1 * scale)), int(std::ceil(y1 * scale)),
            [&](float x, float y) { return inside(x / scale, y / scale); },
            [&](float x, float y) { return colourAt(x / scale, y / scale); });
    };
    const Colour deepSky{0.06f, 0.08f, 0.22f, 1}, horizon{0.20f, 0.32f, 0.62f, 1};
    const Colour deepSea{0.02f, 0.20f, 0.30f, 1}, shallowSea{0.05f, 0.45f, 0.55f, 1};
    const float seaLevel = 38;

    auto seaAt = [&](float y) { return mix(shallowSea, deepSea, (y - seaLevel) / (Units - seaLevel)); };

    fill(0, 0, Units, Units, insideIcon,
         [&](float, float y) { return y < seaLevel ? mix(deepSky, horizon, y / seaLevel) : seaAt(y); });

    // Stars only where there are pixels enough to show them as points of light.
    if (size >= 128) {
        const Point stars[] = {{12, 12}, {22, 7}, {17, 25}, {55, 9}, {9, 31}, {27, 18}};
        for (const Point &star : stars)
            fill(
                star.x - 1, star.y - 1, star.x + 1, star.y + 1,
                [&](float x, float y) { return std::hypot(x - star.x, y - star.y) < 0.55f; },
                [](float, float) {
                    return Colour{0.95f, 0.95f, 1.0f, 0.9f};
                });
    }

    // The moon with a soft halo.
    const float moonX = 40, moonY = 22, moonRadius = 10;
    fill(
        0, 0, Units, seaLevel + 4,
        [&](float x, float y) { return std::hypot(x - moonX, y - moonY) < moonRadius + 6 && insideIcon(x, y); },
        [&](float x, float y) {
            const float t = (std::hypot(x - moonX, y - moonY) - moonRadius) / 6;
            return Colour{1.0f, 0.95f, 0.75f, 0.35f * (1 - std::clamp(t, 0.0f, 1.0f))};
        });
    fill(
        0, 0, Units, Units, [&](float x, float y) { return std::hypot(x - moonX, y - moonY) < moonRadius; },
        [&](float, float y) {
            return mix(Colour{1, 0.98f, 0.88f, 1}, Colour{1, 0.85f, 0.55f, 1}, (y - 12) / 20);
        });

    // The sea rises over the moon's lower edge, then two crests catch its light.
    fill(
        0, 0, Units, Units, [&](float x, float y) { return y > swell(x, seaLevel, 0) && insideIcon(x, y); },
        [&](float, float y) { return seaAt(y); });
    for (int crest = 0; crest < 2; ++crest) {
        const float base = seaLevel + 1 + crest * 11, phase = crest * 2.2f;
        std::vector<Point> path;
        for (float x = 6; x <= Units - 6; x += 1 / scale)
            path.push_back({x * scale, swell(x, base, phase) * scale});
        strokePolyline(canvas, path, std::max(crest == 0 ? 2.0f * scale : 1.6f * scale, 0.9f),
                       crest == 0 ? Colour{0.95f, 0.97f, 1.0f, 1} : Colour{0.70f, 0.88f, 0.95f, 0.9f});
    }
    return canvas;
}
