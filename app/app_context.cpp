#include "app/app_context.h"

#include <cmath>
#include <new>

#include "rules/control_layout.h"

AppContext app;

AppContext::AppContext()
{
    double ratio = 1.0;
    synth.semitoneRatio = std::pow(2.0, 1.0 / 12.0);
    for (int i = 0; i < 3; i++)
        ratio *= synth.semitoneRatio;
    synth.referenceHz = static_cast<int>(440.0 * ratio);
    layoutControls(window.controls, window.aspect);
}

void resetAppContext()
{
    app.~AppContext();
    new (&app) AppContext();
}
