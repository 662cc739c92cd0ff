#include "gfx/text_quads.h"

#include <cstring>

namespace {

constexpr double CellWidth = 0.078125; // 5/64 of the font image's width
constexpr double CellHeight = 0.15625; // 5/32 of its height

constexpr char Marks[] = "!?.:\"-/[]'+";

struct TwoByteSymbol {
    uint8_t secondByte;
    int column;
};

// Shift-JIS pairs 0x81 xx of ☆ ★ ← ↑ → ↓, in their row-4 cells.
constexpr TwoByteSymbol Symbols[] = {{0x99, 0}, {0x9A, 1}, {0xA9, 2}, {0xAA, 3}, {0xA8, 4}, {0xAB, 5}};

} // namespace

GlyphCell glyphCellAt(const char *bytes, int remaining, int *consumed)
{
    const auto byte = static_cast<uint8_t>(bytes[0]);
    *consumed = 1;
    if (byte >= 'A' && byte <= 'Z')
        return {(byte - 'A') % 12, (byte - 'A') / 12};
    if (byte >= '0' && byte <= '9')
        return {byte - '0' + 2, 2};
    if (byte != 0) {
        if (const char *mark = strchr(Marks, byte))
            return {int(mark - Marks), 3};
    }
    if (byte == 0x81 && remaining >= 2) {
        for (const TwoByteSymbol &symbol : Symbols) {
            if (static_cast<uint8_t>(bytes[1]) == symbol.secondByte) {
                *consumed = 2;
                return {symbol.column, 4};
            }
        }
    }
    return {};
}

void buildTextQuads(int glyphHeight, const char *text, int byteLength, int x, int y, int advance, int clientWidth,
                    double aspect, TextQuads &quads)
{
    quads.glyphCount = 0;
    const int h = clientWidth / 2;
    // A zero-width client area (a minimised window) has no pixels to convert to.
    if (h <= 0)
        return;
    const auto bottom = static_cast<float>(aspect - double(y + glyphHeight) / h);
    const auto top = static_cast<float>(aspect - double(y) / h);

    int position = 0;
    while (position < byteLength && quads.glyphCount < MaxTextGlyphs) {
        int consumed = 1;
        const GlyphCell cell = glyphCellAt(text + position, byteLength - position, &consumed);
        position += consumed;

        const int k = quads.glyphCount++;
        const auto s0 = static_cast<float>(cell.column * CellWidth);
        const auto s1 = static_cast<float>((cell.column + 1) * CellWidth);
        const auto t0 = static_cast<float>(cell.row * CellHeight);
        const auto t1 = static_cast<float>((cell.row + 1) * CellHeight);
        const auto left = static_cast<float>(double(x + k * advance) / h - 1.0);
        const auto right = static_cast<float>(double(x + (k + 1) * advance) / h - 1.0);

        const float corners[8] = {left, bottom, right, bottom, right, top, left, top};
        const float coords[8] = {s0, t1, s1, t1, s1, t0, s0, t0};
        memcpy(quads.positions + k * 8, corners, sizeof corners);
        memcpy(quads.texCoords + k * 8, coords, sizeof coords);
        for (int i = 0; i < 4; ++i)
            quads.indices[k * 4 + i] = static_cast<uint8_t>(k * 4 + i);
    }
}
