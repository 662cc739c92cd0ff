#include "rules/control_layout.h"

#include "app/app_context.h"

void layoutControls(ScreenControl controls[5], double aspect)
{
    controls[0] = {-0.85, aspect - 0.3, 0.05, 0.05};
    controls[1] = {0.85, aspect - 0.3, 0.05, 0.05};
    controls[2] = {0.75, -0.3125 * aspect, 0.05, 0.05};
    controls[3] = {0.8, -0.91 * aspect, 0.1, 0.05};
    controls[4] = {0.9, -0.3125 * aspect, 0.05, 0.05};
}

void resetControlLayout()
{
    layoutControls(app.window.controls, app.window.aspect);
}
