#include "gfx/text_rows.h"

#include <GL/gl.h>
#include <cstdio>

#include "gfx/field_geometry.h"
#include "gfx/text.h"

void formatRow(TextRow &row, int glyphHeight, int advance, const float *colour, const char *format, va_list args)
{
    row = TextRow{};
    const int written = vsnprintf(row.text, sizeof row.text, format, args);
    row.length = written < 0 ? 0 : written < static_cast<int>(sizeof row.text) ? written : sizeof row.text - 1;
    row.glyphHeight = glyphHeight;
    row.advance = advance;
    if (colour != nullptr) {
        for (int c = 0; c < 4; c++)
            row.colour[c] = colour[c];
    }
}

int centredOn(int x, const TextRow &row) { return x - row.length * row.advance / 2; }

int centredX(const FieldMetrics &m, const TextRow &row) { return centredOn(m.width / 2, row); }

int columnXAt(const FieldMetrics &m, double viewX, int offsetPx)
{
    return static_cast<int>(viewX * m.width * 0.5 + m.width / 2 + offsetPx);
}

int rowYAt(const FieldMetrics &m, double viewY, int offsetPx)
{
    return static_cast<int>(viewY * m.width * -0.5 + m.height / 2 + offsetPx);
}

void drawTextRows(const TextRow *rows, int count)
{
    for (int i = 0; i < count; i++) {
        const TextRow &row = rows[i];
        glColor4fv(row.colour);
        drawText(row.glyphHeight, row.text, row.length, row.x, row.y, row.advance);
    }
}
