#pragma once
#include <cstdint>
// Decodes a PNG into top-down BGRA pixels (malloc'd, caller frees). On any failure stores nothing.
int decodePng(const char *path, uint8_t **pixelsOut, int *widthOut, int *heightOut);
// Loads img/<fileName> beside the executable into a new texture (0 x 0 when the image is missing).
int loadImageTexture(const char *fileName, unsigned *textureOut);
