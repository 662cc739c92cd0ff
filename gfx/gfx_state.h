#pragma once
// Never wiped: what the renderer keeps for the run. The shell (app/) loads the two image textures
// at start-up and deletes them at shutdown, and points musicState at the music stream's state, which
// the renderer may read but, below audio/, cannot include.
#include <atomic>

struct GfxState {
    unsigned fontTexture = 0;
    unsigned waveTexture = 0;
    const std::atomic<int> *musicState = nullptr; // a StreamState; null reads as Finished
    // Called after each layer of a frame with the layer's name; only the render benchmark sets
    // it, to time each layer (the game pays one test of a null pointer per layer).
    void (*layerDrawn)(const char *layer) = nullptr;
};

extern GfxState gfx;

// The music stream's state as musicState shows it.
int musicStreamState();

// Deletes the two image textures; needs the current GL context.
void releaseImageTextures();
