#pragma once
#include <functional>
#include <string>
#include <vector>

constexpr float Pi = 3.14159265f;

// An RGBA picture in floats (straight alpha, 0 to 1) that shapes are composited onto.
struct Colour {
    float r = 1, g = 1, b = 1, a = 1;
};

struct Point {
    float x = 0, y = 0;
};

struct Canvas {
    int width = 0;
    int height = 0;
    std::vector<Colour> pixels; // top row first, all transparent at first
};

Canvas makeCanvas(int width, int height);
// Composites colour over the pixel, its alpha scaled by coverage (0 to 1). Outside: ignored.
void paint(Canvas &canvas, int x, int y, const Colour &colour, float coverage);
// Distance from p to the nearest point of the segment from a to b.
float distanceToSegment(Point p, Point a, Point b);
// A polyline of round-capped segments halfWidth pixels either side of its path, antialiased.
void strokePolyline(Canvas &canvas, const std::vector<Point> &path, float halfWidth, const Colour &colour);
// The share of samples x samples points spread evenly over pixel (x, y) where inside holds.
float pixelCoverage(int x, int y, int samples, const std::function<bool(float, float)> &inside);
// Fills every part of the box [x0, x1) x [y0, y1) where inside holds, with 4 x 4 samples per pixel.
void fillShape(Canvas &canvas, int x0, int y0, int x1, int y1, const std::function<bool(float, float)> &inside,
               const std::function<Colour(float, float)> &colourAt);
// Writes 8-bit RGBA; false on failure.
bool writeCanvasPng(const Canvas &canvas, const std::string &path);
