#include "gfx/image_texture.h"

#include <GL/gl.h>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "gfx/png_decoder.h"
#include "platform/paths.h"

int loadImageTexture(const char *fileName, unsigned *textureOut)
{
    const std::string path = contentDirectory() + "/img/" + fileName;
    uint8_t *pixels = nullptr;
    int width = 0, height = 0;
    decodePng(path.c_str(), &pixels, &width, &height);
    if (!pixels)
        fprintf(stderr, "lumatide: cannot read the image %s; drawing without it\n", path.c_str());

    glGenTextures(1, textureOut);
    glBindTexture(GL_TEXTURE_2D, *textureOut);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_BGRA_EXT, GL_UNSIGNED_BYTE, pixels);
    free(pixels);
    return 0;
}
