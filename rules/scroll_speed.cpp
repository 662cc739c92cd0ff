#include "rules/scroll_speed.h"

#include <cmath>

double steppedScrollSpeed(double speed, int direction)
{
    const double next = speed + direction * ScrollSpeedStep;
    if (next > FastestScrollSpeed)
        return SlowestScrollSpeed;
    if (next < SlowestScrollSpeed)
        return FastestScrollSpeed;
    return next;
}

bool isScrollSpeed(double speed)
{
    if (!(speed >= SlowestScrollSpeed && speed <= FastestScrollSpeed))
        return false;
    const double steps = (speed - SlowestScrollSpeed) / ScrollSpeedStep;
    return steps == std::floor(steps);
}
