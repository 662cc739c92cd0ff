#include "gfx/quad_batch.h"

static void addCorner(std::vector<float> &xy, const float quad[8], int corner, float dx, float dy)
{
    xy.push_back(quad[2 * corner] + dx);
    xy.push_back(quad[2 * corner + 1] + dy);
}

void addFill(QuadBatch &batch, const float quad[8], float dx, float dy, const float rgba[4])
{
    for (int corner : {0, 1, 2, 0, 2, 3}) {
        addCorner(batch.fillXY, quad, corner, dx, dy);
        batch.fillRGBA.insert(batch.fillRGBA.end(), rgba, rgba + 4);
    }
}

void addOutline(QuadBatch &batch, const float quad[8], float dx, float dy)
{
    for (int corner : {0, 1, 1, 2, 2, 3, 3, 0})
        addCorner(batch.outlineXY, quad, corner, dx, dy);
}

void drawFills(const QuadBatch &batch)
{
    if (batch.fillXY.empty())
        return;
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_FLOAT, 0, batch.fillRGBA.data());
    glVertexPointer(2, GL_FLOAT, 0, batch.fillXY.data());
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(batch.fillXY.size() / 2));
    glDisableClientState(GL_COLOR_ARRAY);
}

void drawOutlines(const QuadBatch &batch)
{
    if (batch.outlineXY.empty())
        return;
    glVertexPointer(2, GL_FLOAT, 0, batch.outlineXY.data());
    glDrawArrays(GL_LINES, 0, static_cast<GLsizei>(batch.outlineXY.size() / 2));
}

void clearQuadBatch(QuadBatch &batch)
{
    batch.fillXY.clear();
    batch.fillRGBA.clear();
    batch.outlineXY.clear();
}
