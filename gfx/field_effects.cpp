#include "gfx/field_effects.h"

#include <cmath>

Disc hitEffectDisc(uint32_t sinceGradeMs)
{
    const double t = sinceGradeMs / static_cast<double>(HitEffectMs);
    const double e = 1.0 - (1.0 - t) * (1.0 - t);
    return Disc{0.2 * e, 1.0 - e};
}

bool linkEffectX(const ChartNote &p, const ChartNote &c, int songTimeMs, double &x)
{
    const int32_t span = static_cast<int32_t>(c.timeMs - p.timeMs);
    if (span == 0)
        return false;
    const int32_t done = static_cast<int32_t>(static_cast<uint32_t>(songTimeMs) - p.timeMs);
    const double q = static_cast<double>(done) / span;
    const double f = q <= 1.0 ? q : 1.0;
    x = p.screenX + f * (c.screenX - p.screenX);
    return true;
}

double judgementLineAlpha(uint32_t msPerBeat, int measureIndex, double beatPhase)
{
    return (msPerBeat != 0 && measureIndex != 0) ? 0.9 - 0.4 * beatPhase : 0.9;
}

// The sheet brightens for the first 400 ms, then fades; its height dips while s passes 0.9.
GlowSheet fullComboGlow(uint32_t sinceFullComboMs)
{
    const double m = 1.0 - sinceFullComboMs / 2000.0;
    const double s = 1.0 - 0.2 * (1.0 - m) * (1.0 - m);
    const double d = std::fabs(s - 0.9);
    return GlowSheet{static_cast<float>(m > 0.8 ? 4.0 * (1.0 - m) : m), s * (d + 0.3)};
}
