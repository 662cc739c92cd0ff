#include "canvas.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

Canvas makeCanvas(int width, int height)
{
    Canvas canvas;
    canvas.width = width;
    canvas.height = height;
    canvas.pixels.assign(size_t(width) * height, Colour{0, 0, 0, 0});
    return canvas;
}

void paint(Canvas &canvas, int x, int y, const Colour &colour, float coverage)
{
    if (x < 0 || y < 0 || x >= canvas.width || y >= canvas.height || coverage <= 0)
        return;
    Colour &under = canvas.pixels[size_t(y) * canvas.width + x];
    const float top = colour.a * std::min(coverage, 1.0f);
    const float alpha = top + under.a * (1 - top);
    if (alpha <= 0)
        return;
    auto mix = [&](float over, float below) { return (over * top + below * under.a * (1 - top)) / alpha; };
    under = {mix(colour.r, under.r), mix(colour.g, under.g), mix(colour.b, under.b), alpha};
}

float distanceToSegment(Point p, Point a, Point b)
{
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float lengthSquared = dx * dx + dy * dy;
    float t = lengthSquared > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared : 0;
    t = std::clamp(t, 0.0f, 1.0f);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

void strokePolyline(Canvas &canvas, const std::vector<Point> &path, float halfWidth, const Colour &colour)
{
    if (path.empty())
        return;
    float minX = path[0].x, maxX = minX, minY = path[0].y, maxY = minY;
    for (const Point &p : path) {
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    }
    const int x0 = int(std::floor(minX - halfWidth - 1)), x1 = int(std::ceil(maxX + halfWidth + 1));
    const int y0 = int(std::floor(minY - halfWidth - 1)), y1 = int(std::ceil(maxY + halfWidth + 1));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const Point centre{x + 0.5f, y + 0.5f};
            float nearest = distanceToSegment(centre, path[0], path[0]);
            for (size_t i = 1; i < path.size(); ++i)
                nearest = std::min(nearest, distanceToSegment(centre, path[i - 1], path[i]));
            paint(canvas, x, y, colour, std::clamp(halfWidth + 0.5f - nearest, 0.0f, 1.0f));
        }
    }
}

float pixelCoverage(int x, int y, int samples, const std::function<bool(float, float)> &inside)
{
    int hits = 0;
    for (int sy = 0; sy < samples; ++sy)
        for (int sx = 0; sx < samples; ++sx)
            hits += inside(x + (sx + 0.5f) / samples, y + (sy + 0.5f) / samples);
    return float(hits) / (samples * samples);
}

void fillShape(Canvas &canvas, int x0, int y0, int x1, int y1, const std::function<bool(float, float)> &inside,
               const std::function<Colour(float, float)> &colourAt)
{
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const float coverage = pixelCoverage(x, y, 4, inside);
            if (coverage > 0)
                paint(canvas, x, y, colourAt(x + 0.5f, y + 0.5f), coverage);
        }
    }
}

bool writeCanvasPng(const Canvas &canvas, const std::string &path)
{
    FILE *file = fopen(path.c_str(), "wb");
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, canvas.width, canvas.height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(size_t(canvas.width) * 4);
    auto toByte = [](float v) { return png_byte(std::lround(std::clamp(v, 0.0f, 1.0f) * 255)); };
    for (int y = 0; y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            const Colour &c = canvas.pixels[size_t(y) * canvas.width + x];
            // Fully transparent pixels are stored as transparent black, so filtering never bleeds colour.
            const bool clear = toByte(c.a) == 0;
            row[x * 4] = clear ? 0 : toByte(c.r);
            row[x * 4 + 1] = clear ? 0 : toByte(c.g);
            row[x * 4 + 2] = clear ? 0 : toByte(c.b);
            row[x * 4 + 3] = toByte(c.a);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return fclose(file) == 0;
}
