#include "gfx/text.h"

#include <GL/gl.h>

#include "app/app_context.h"
#include "gfx/text_quads.h"

void drawText(int glyphHeight, const char *text, int byteLength, int x, int y, int advance)
{
    TextQuads quads;
    buildTextQuads(glyphHeight, text, byteLength, x, y, advance,
                   app.window.clientWidth.load(std::memory_order_relaxed), app.window.aspect, quads);
    if (quads.glyphCount == 0)
        return;
    glBindTexture(GL_TEXTURE_2D, app.gfx.fontTexture);
    glVertexPointer(2, GL_FLOAT, 0, quads.positions);
    glTexCoordPointer(2, GL_FLOAT, 0, quads.texCoords);
    glDrawElements(GL_QUADS, quads.glyphCount * 4, GL_UNSIGNED_BYTE, quads.indices);
}
