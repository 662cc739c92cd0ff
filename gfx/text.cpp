#include "gfx/text.h"

#include <GL/gl.h>

#include "gfx/gfx_state.h"
#include "gfx/text_quads.h"
#include "rules/window_state.h"

void drawText(int glyphHeight, const char *text, int byteLength, int x, int y, int advance)
{
    TextQuads quads;
    buildTextQuads(glyphHeight, text, byteLength, x, y, advance, window.clientWidth.load(std::memory_order_relaxed),
                   window.aspect, quads);
    if (quads.glyphCount == 0)
        return;
    glBindTexture(GL_TEXTURE_2D, gfx.fontTexture);
    glVertexPointer(2, GL_FLOAT, 0, quads.positions);
    glTexCoordPointer(2, GL_FLOAT, 0, quads.texCoords);
    glDrawElements(GL_QUADS, quads.glyphCount * 4, GL_UNSIGNED_BYTE, quads.indices);
}
