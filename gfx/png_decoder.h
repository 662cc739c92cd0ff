#pragma once
#include <cstddef>
#include <cstdint>

// Decodes a PNG file into top-down BGRA pixels, 4 bytes each, alpha 255 where the image has none.
// The block is calloc'd and belongs to the caller (free). On any failure stores nothing; either
// size output may be null. Only regular files of at most 64 MB are read. Always returns 0.
int decodePng(const char *path, uint8_t **pixelsOut, int *widthOut, int *heightOut);
// The same from PNG bytes already in memory.
int decodePngBytes(const uint8_t *data, size_t size, uint8_t **pixelsOut, int *widthOut, int *heightOut);
