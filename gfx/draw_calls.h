#pragma once
// The few GL calls every layer repeats: 2D shapes from client-side arrays and the two blend modes.
#include <GL/gl.h>

// Points the vertex array at pairs of floats and draws count of them.
void drawShape(GLenum mode, const float *xy, int count);
// The rectangle around the origin, bottom corners first.
void centredQuad(double halfWidth, double halfHeight, float quad[8]);
// The unit square as a fan or a line loop.
void fillUnitSquare();
void outlineUnitSquare();
// A line from (x0, y) to (x1, y) of the given width; the width goes back to 1 afterwards.
void drawHorizontalLine(double x0, double x1, double y, float width);

void useNormalBlend();
void useAdditiveBlend();
