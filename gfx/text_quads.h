#pragma once
#include <cstdint>

// Capacity of one string's arrays; one-byte indices cannot address more than 64 quads either.
constexpr int MaxTextGlyphs = 64;

// A cell of the font image's 12 x 5 grid.
struct GlyphCell {
    int column = 11;
    int row = 3;
};

// The cell for the glyph that starts at bytes (remaining > 0). Sets consumed to 2 for the
// two-byte Shift-JIS stars and arrows, else 1. Unlisted bytes get the blank cell (11, 3).
GlyphCell glyphCellAt(const char *bytes, int remaining, int *consumed);

// The client-side arrays of one string: per glyph 4 vertices counter-clockwise from the
// bottom-left, 2 floats of view position and 2 of texture coordinate each, and 4 indices.
struct TextQuads {
    float positions[MaxTextGlyphs * 8];
    float texCoords[MaxTextGlyphs * 8];
    uint8_t indices[MaxTextGlyphs * 4];
    int glyphCount = 0;
};

// Lays out drawText's quads for a client area clientWidth pixels wide whose height is aspect
// times its width. Strings beyond MaxTextGlyphs glyphs are cut off.
void buildTextQuads(int glyphHeight, const char *text, int byteLength, int x, int y, int advance, int clientWidth,
                    double aspect, TextQuads &quads);
