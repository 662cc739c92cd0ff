#include "gfx/title_textures.h"

#include <GL/gl.h>

#include "gfx/title_pixels.h"
#include "platform/trace.h"

void createTitleTexture(TitleTexture &title)
{
    layOutTitle(title);
    trace("title font %s, extent %d x %d", title.font.name.c_str(), title.extentWidth, title.extentHeight);
    glGenTextures(1, &title.texture);
    glBindTexture(GL_TEXTURE_2D, title.texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    // Storage only: renderTitleTexture fills every pixel right after.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, title.texWidth, title.texHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    renderTitleTexture(title);
}

void renderTitleTexture(TitleTexture &title)
{
    drawTitlePixels(title);
    glBindTexture(GL_TEXTURE_2D, title.texture);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, title.texWidth, title.texHeight, GL_RGBA, GL_UNSIGNED_BYTE,
                    title.pixels.data());
}

void releaseTitleTexture(TitleTexture &title)
{
    closeSystemFont(title.font);
    if (title.texture)
        glDeleteTextures(1, &title.texture);
    title.texture = 0;
    std::vector<uint8_t>().swap(title.pixels);
}
