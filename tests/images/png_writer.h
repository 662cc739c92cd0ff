#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A PNG to be written by libpng exactly as described, so tests can cover every colour type.
struct PngPicture {
    int width = 1;
    int height = 1;
    int colourType = 0; // PNG_COLOR_TYPE_*
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<uint8_t> rows;         // packed rows as stored in the file, top row first
    std::vector<uint8_t> palette;      // r, g, b triples
    std::vector<uint8_t> paletteAlpha; // tRNS for palette images
    int transparentGrey = -1;          // tRNS for grey images
};

std::vector<uint8_t> encodePng(const PngPicture &picture);
void writeFile(const std::string &path, const std::vector<uint8_t> &bytes);
