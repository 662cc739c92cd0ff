#pragma once
#include <string>

#include "canvas.h"

// The game's own pictures, drawn from nothing but code and the machine's DejaVu Sans Bold.

// font_l.png: the 12 x 5 grid of 20 x 20 cells; false with a message when the font is missing.
bool drawFontSheet(Canvas &canvas, std::string &error);
// wave.png: eight 64 x 64 cells, the five wave types, then unison off and on.
Canvas drawWaveIcons();
// The icon, drawn at size x size pixels: icon.png (the window icon) at 64, and the desktop icons.
Canvas drawWindowIcon(int size);
// The sizes of the desktop icons, each drawn at its size.
constexpr int DesktopIconSizes[] = {32, 48, 64, 128, 256};

// A soft dark rim around light strokes, so they stand out on light and dark backgrounds alike.
constexpr Colour RimColour{0.04f, 0.05f, 0.10f, 0.85f};
