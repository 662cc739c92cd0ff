#include "gfx/render_frame.h"

void renderFrame() {}
