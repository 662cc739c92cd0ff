#include "gfx/text.h"

void drawText(int, const char *, int, int, int, int) {}
