#pragma once
#include <cstddef>
#include <cstdint>
#include <png.h>

// Decodes a PNG file into top-down BGRA pixels, 4 bytes each, alpha 255 where the image has none.
// The block is calloc'd and belongs to the caller (free). On any failure stores nothing; either
// size output may be null. Only regular files of at most 64 MB are read. Always returns 0.
int decodePng(const char *path, uint8_t **pixelsOut, int *widthOut, int *heightOut);
// The same from PNG bytes already in memory.
int decodePngBytes(const uint8_t *data, size_t size, uint8_t **pixelsOut, int *widthOut, int *heightOut);

// Where libpng's reads stand in the PNG bytes.
struct PngCursor {
    const uint8_t *data = nullptr;
    size_t size = 0;
    size_t offset = 0;
};

// libpng read callback: copies the next bytes of the PngCursor registered as the I/O pointer.
// A read past the end raises a libpng error, so truncated files fail instead of reading beyond.
void readPngBytes(png_structp decoder, png_bytep destination, png_size_t length);
