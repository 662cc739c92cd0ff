#include "rules/calibration_stats.h"

#include <algorithm>
#include <cmath>
#include <vector>

int nearestClick(int tapMs, int firstClickMs, int intervalMs, int count)
{
    if (count <= 0 || intervalMs <= 0)
        return 0;
    const int sinceFirst = tapMs - firstClickMs;
    if (sinceFirst <= 0)
        return 0;
    // Rounds half down, so the halfway tap stays with the click it follows.
    const int index = (sinceFirst + (intervalMs - 1) / 2) / intervalMs;
    return std::min(index, count - 1);
}

int tapOffsetMs(int tapMs, int firstClickMs, int intervalMs, int count)
{
    return tapMs - (firstClickMs + nearestClick(tapMs, firstClickMs, intervalMs, count) * intervalMs);
}

namespace {

double medianOfSorted(const std::vector<double> &sorted)
{
    const size_t n = sorted.size();
    if (n == 0)
        return 0.0;
    return n % 2 == 1 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2.0;
}

} // namespace

double medianOf(const int *values, int count)
{
    std::vector<double> sorted(values, values + std::max(count, 0));
    std::sort(sorted.begin(), sorted.end());
    return medianOfSorted(sorted);
}

double medianAbsoluteDeviation(const int *values, int count)
{
    const double median = medianOf(values, count);
    std::vector<double> deviations(static_cast<size_t>(std::max(count, 0)));
    for (size_t i = 0; i < deviations.size(); i++)
        deviations[i] = std::fabs(values[i] - median);
    std::sort(deviations.begin(), deviations.end());
    return medianOfSorted(deviations);
}

int roundedMs(double ms) { return static_cast<int>(std::lround(ms)); }
