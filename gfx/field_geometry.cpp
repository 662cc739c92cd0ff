#include "gfx/field_geometry.h"

#include <cmath>

const float unitSquare[8] = {-1.0f, -1.0f, 1.0f, -1.0f, 1.0f, 1.0f, -1.0f, 1.0f};

FieldMetrics fieldMetrics(int width, int height, int fieldMargin, double aspect)
{
    FieldMetrics m;
    m.width = width;
    m.height = height;
    m.half = width / 2;
    m.fieldMargin = fieldMargin;
    m.aspect = aspect;
    m.marginView = static_cast<double>(fieldMargin) / m.half;
    m.halfSemitonePx = ((width - 2 * fieldMargin) / 2) / 24;
    m.semitoneWidth = (2.0 - 2.0 * m.marginView) / 24.0;
    m.stripeHalfWidth = (2.0 - 2.0 * m.marginView) / 48.0;
    m.stripeHalfHeight = 0.27083333 * aspect;
    m.headHalfWidth = static_cast<double>(m.halfSemitonePx) / m.half;
    m.headHalfHeight = 3.0 * aspect / m.half;
    m.judgeLineY = -JudgeLineDepth * aspect;
    m.keyboardY = -0.72916667 * aspect;
    return m;
}

double columnX(const FieldMetrics &metrics, int k)
{
    const double p = metrics.marginView;
    return p + (2.0 - 2.0 * p) * k / 24.0 - 1.0;
}

int semitoneRemainder(int k) { return k - 12 * (k / 12); }

bool isStripeColumn(int k) { return semitoneRemainder(k) < 5; }

double keyGrey(int k)
{
    switch (semitoneRemainder(k)) {
    case 0:
    case 2:
    case 4:
    case 5:
    case 7:
    case 9:
    case 11:
        return 0.95;
    default:
        return 0.8;
    }
}

double keyAlpha(int k) { return (k >= 0 && k <= 24) ? 1.0 : 0.5; }

double scrollY(const ScrollRule &rule, uint32_t timeMs)
{
    const int32_t delta = static_cast<int32_t>(timeMs - static_cast<uint32_t>(rule.songTimeMs));
    const uint32_t eightBeats = 8u * rule.msPerBeat;
    if (eightBeats == 0) {
        if (delta == 0)
            return -JudgeLineDepth * rule.aspect;
        return (delta > 0 ? 3.0 : -3.0) * rule.aspect;
    }
    return (delta * 1.4583333 / (eightBeats / rule.scrollSpeed) - JudgeLineDepth) * rule.aspect;
}

static StaticGeometry buildStaticGeometry()
{
    StaticGeometry g{};
    for (int i = 0; i < 8; i++) {
        g.cubeVertices[i][0] = ((i + 1) % 4) > 1 ? -1.0f : 1.0f;
        g.cubeVertices[i][1] = (i & 2) ? -1.0f : 1.0f;
        g.cubeVertices[i][2] = i > 3 ? -1.0f : 1.0f;
    }
    const uint32_t faces[6][4] = {{0, 1, 2, 3}, {0, 4, 5, 1}, {1, 5, 6, 2}, {4, 7, 6, 5}, {2, 6, 7, 3}, {0, 3, 7, 4}};
    for (int f = 0; f < 6; f++)
        for (int v = 0; v < 4; v++)
            g.cubeFaces[f][v] = faces[f][v];
    for (int i = 0; i < 32; i++) {
        const double theta = i * 11.25 * M_PI / 180.0;
        g.circleTable[i][0] = static_cast<float>(std::cos(theta));
        g.circleTable[i][1] = static_cast<float>(std::sin(theta));
    }
    return g;
}

const StaticGeometry &staticGeometry()
{
    static const StaticGeometry geometry = buildStaticGeometry();
    return geometry;
}
