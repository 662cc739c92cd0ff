#pragma once
// Draws one whole frame and swaps the buffers.
void renderFrame();
