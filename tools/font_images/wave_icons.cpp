#include <cmath>
#include <functional>

#include "images.h"

namespace {

constexpr int Cell = 64;
constexpr float Margin = 9;     // clear space at the cell's left and right
constexpr float Amplitude = 16; // half the height of a wave
constexpr float StrokeHalfWidth = 2.6f;
constexpr float RimHalfWidth = 4.2f;

const Colour Stroke{1, 1, 1, 1};

// Draws a path with the rim under it, so strokes read on any background.
void drawStroke(Canvas &canvas, const std::vector<Point> &path)
{
    strokePolyline(canvas, path, RimHalfWidth, RimColour);
    strokePolyline(canvas, path, StrokeHalfWidth, Stroke);
}

// Two cycles of a waveform across cell `cell`; level(w) gives -1 to 1 for w in one cycle [0, 1).
// Jumps are drawn as vertical edges.
void drawWave(Canvas &canvas, int cell, const std::function<float(float)> &level)
{
    const float left = cell * Cell + Margin, width = Cell - 2 * Margin, middle = Cell / 2.0f;
    constexpr int Steps = 240;
    std::vector<Point> path;
    float previous = level(0);
    for (int i = 0; i <= Steps; ++i) {
        const float u = 2.0f * i / Steps;
        const float w = i == Steps ? 1.0f - 1e-6f : u - std::floor(u);
        const float value = level(w);
        const float x = left + width * i / Steps;
        if (i > 0 && std::fabs(value - previous) > 0.5f)
            path.push_back({x, middle - Amplitude * previous});
        path.push_back({x, middle - Amplitude * value});
        previous = value;
    }
    drawStroke(canvas, path);
}

void drawLines(Canvas &canvas, int cell, std::initializer_list<float> heights)
{
    const float left = cell * Cell + Margin + 4, right = (cell + 1) * Cell - Margin - 4;
    for (float y : heights)
        drawStroke(canvas, {{left, y}, {right, y}});
}

} // namespace

Canvas drawWaveIcons()
{
    Canvas canvas = makeCanvas(8 * Cell, Cell);
    drawWave(canvas, 0, [](float w) { return std::sin(2 * Pi * w); });
    drawWave(canvas, 1, [](float w) { return w < 0.5f ? 1.0f : -1.0f; });
    drawWave(canvas, 2, [](float w) { return w < 0.25f ? 1.0f : -1.0f; });
    drawWave(canvas, 3, [](float w) { return w < 0.5f ? 1 - 4 * w : 4 * (w - 0.5f) - 1; });
    drawWave(canvas, 4, [](float w) { return 1 - 2 * w; });
    drawLines(canvas, 5, {Cell / 2.0f});
    drawLines(canvas, 6, {Cell / 2.0f - 14, Cell / 2.0f, Cell / 2.0f + 14});
    return canvas;
}
