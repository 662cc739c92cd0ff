#include "gfx/gfx_state.h"

#include <GL/gl.h>

#include "rules/stream_state.h"

GfxState gfx;

int musicStreamState()
{
    return gfx.musicState != nullptr ? gfx.musicState->load(std::memory_order_relaxed) : Finished;
}

void releaseImageTextures()
{
    glDeleteTextures(1, &gfx.fontTexture);
    glDeleteTextures(1, &gfx.waveTexture);
    gfx.fontTexture = 0;
    gfx.waveTexture = 0;
}
