#pragma once
#include <cstdint>

// Every frame starts from white; needs the current GL context.
void useWhiteClearColour();

// Draws one whole frame and swaps the buffers.
void renderFrame();

// What renderFrame reads from the platform besides the game context; tests pass their own.
struct FrameInput {
    uint32_t nowMs = 0;
    bool rankingKeyDown = false;
};

// The whole frame into the back buffer, without presenting it.
void drawFrame(const FrameInput &input);
