#pragma once
// The column a note is drawn in, as the renderer writes it into screenX and AUTOPLAY steers to it.
struct ChartNote;

// View x of the note's pitch, shifted by its octave, in a client area clientWidth pixels wide with
// fieldMargin pixels left and right of the two-octave field; truncated to a whole pixel.
double noteColumnX(const ChartNote &note, int clientWidth, int fieldMargin);
