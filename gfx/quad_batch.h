#pragma once
// Many small quads, filled and outlined, gathered into client-side arrays and drawn in two calls
// instead of two calls each. A quad moved by (dx, dy) is stored at float(corner + d): the sum the
// GL itself forms when the model view holds nothing but that translation, so each corner reaches
// the rasteriser bit for bit where a push and a translate would have put it.
#include <vector>

#include <GL/gl.h>

struct QuadBatch {
    std::vector<float> fillXY;    // two triangles per quad, in the order a fan draws them
    std::vector<float> fillRGBA;  // one colour per fill vertex
    std::vector<float> outlineXY; // four segments per quad, in the order a loop draws them
};

void addFill(QuadBatch &batch, const float quad[8], float dx, float dy, const float rgba[4]);
void addOutline(QuadBatch &batch, const float quad[8], float dx, float dy);

// The fills with their colours, then the outlines in the current colour; blending as set.
void drawFills(const QuadBatch &batch);
void drawOutlines(const QuadBatch &batch);
void clearQuadBatch(QuadBatch &batch);
