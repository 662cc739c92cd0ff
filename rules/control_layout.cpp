#include "rules/control_layout.h"

#include <cmath>

void layoutControls(ScreenControl controls[5], double aspect)
{
    controls[0] = {-0.85, aspect - 0.3, 0.05, 0.05};
    controls[1] = {0.85, aspect - 0.3, 0.05, 0.05};
    controls[2] = {0.75, -0.3125 * aspect, 0.05, 0.05};
    controls[3] = {0.8, -0.91 * aspect, 0.1, 0.05};
    controls[4] = {0.9, -0.3125 * aspect, 0.05, 0.05};
}

int controlUnderPointer(int x, int y, int clientWidth, int clientHeight, const ScreenControl controls[5])
{
    const double halfWidth = clientWidth / 2;
    const double halfHeight = clientHeight / 2;
    // View units are half the client width on both axes, with y pointing up.
    const double unit = 0.5 * clientWidth;
    int hovered = ControlNone;
    for (int i = 0; i < 5; i++) {
        const ScreenControl &control = controls[i];
        if (std::fabs(x - (halfWidth + unit * control.centreX)) < unit * control.halfWidth &&
            std::fabs(y - (halfHeight - unit * control.centreY)) < unit * control.halfHeight)
            hovered = i + 1;
    }
    return hovered;
}

int controlCodeFor(int control)
{
    return control >= ControlNone && control <= ControlUnison ? ControlCodes[control] : CodeNone;
}
