#include "gfx/band_reach.h"

#include <algorithm>

double noteReach(const FieldMetrics &metrics)
{
    // Four pixels cover the outline and the half of a 3-pixel slide line beyond the head.
    return metrics.headHalfHeight + 4.0 / metrics.half;
}

bool reachesBand(double y0, double y1, const FieldMetrics &metrics)
{
    const double reach = noteReach(metrics);
    const double low = std::min(y0, y1) - reach;
    const double high = std::max(y0, y1) + reach;
    return high >= -metrics.aspect && low <= metrics.aspect;
}
