#include "gfx/draw_calls.h"

#include "gfx/field_geometry.h"

void drawShape(GLenum mode, const float *xy, int count)
{
    glVertexPointer(2, GL_FLOAT, 0, xy);
    glDrawArrays(mode, 0, count);
}

void centredQuad(double halfWidth, double halfHeight, float quad[8])
{
    const float fx = static_cast<float>(halfWidth);
    const float fy = static_cast<float>(halfHeight);
    const float corners[8] = {-fx, -fy, fx, -fy, fx, fy, -fx, fy};
    for (int i = 0; i < 8; i++)
        quad[i] = corners[i];
}

void fillUnitSquare() { drawShape(GL_TRIANGLE_FAN, unitSquare, 4); }

void outlineUnitSquare() { drawShape(GL_LINE_LOOP, unitSquare, 4); }

void coverFieldForText(double aspect)
{
    glDisable(GL_TEXTURE_2D);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    float sheet[8];
    centredQuad(1.0, aspect, sheet);
    drawShape(GL_TRIANGLE_FAN, sheet, 4);
    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
}

void drawLine(double x0, double y0, double x1, double y1, float width)
{
    const float line[4] = {static_cast<float>(x0), static_cast<float>(y0), static_cast<float>(x1),
                           static_cast<float>(y1)};
    glLineWidth(width);
    drawShape(GL_LINES, line, 2);
    glLineWidth(1.0f);
}

void drawRectangle(GLenum mode, double left, double bottom, double right, double top)
{
    const float x0 = static_cast<float>(left);
    const float y0 = static_cast<float>(bottom);
    const float x1 = static_cast<float>(right);
    const float y1 = static_cast<float>(top);
    const float corners[8] = {x0, y0, x1, y0, x1, y1, x0, y1};
    drawShape(mode, corners, 4);
}

void useNormalBlend() { glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA); }

void useAdditiveBlend() { glBlendFunc(GL_SRC_ALPHA, GL_ONE); }
