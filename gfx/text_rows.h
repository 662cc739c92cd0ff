#pragma once
// Rows of text laid out before they are drawn, so tests can check every position without a
// window: the row record, a fixed-size list of them, and the pixel helpers the layouts share.
#include <cstdarg>

struct FieldMetrics;

// Shift-JIS byte pairs of the font's symbols.
#define FILLED_STAR "\x81\x9A"
#define EMPTY_STAR "\x81\x99"
#define LEFT_ARROW "\x81\xA9"
#define UP_ARROW "\x81\xAA"
#define RIGHT_ARROW "\x81\xA8"

struct TextRow {
    char text[64] = {};
    int length = 0; // bytes; a two-byte symbol counts 2
    int glyphHeight = 20;
    int advance = 20;
    int x = 0; // top-left pixel of the first glyph
    int y = 0;
    float colour[4] = {1.0f, 1.0f, 1.0f, 1.0f};
};

template <int N>
struct TextRowList {
    static constexpr int Capacity = N;
    TextRow rows[Capacity];
    int rowCount = 0;
    int droppedRows = 0; // rows past Capacity, laid out into spareRow and never drawn
    TextRow spareRow;
};

// Headings and the NEW BEST.
constexpr float GoldText[4] = {1.0f, 0.9f, 0.5f, 1.0f};

// Empties the list for a fresh layout.
template <int N>
void clearRows(TextRowList<N> &list)
{
    list.rowCount = 0;
    list.droppedRows = 0;
}

// Fills a fresh row from a printf format; a null colour keeps white.
void formatRow(TextRow &row, int glyphHeight, int advance, const float *colour, const char *format, va_list args);

// The next free row of the list, or its spare row once the list is full.
template <int N>
__attribute__((format(printf, 5, 6))) TextRow &addRow(TextRowList<N> &list, int glyphHeight, int advance,
                                                      const float *colour, const char *format, ...)
{
    TextRow &row = list.rowCount < N ? list.rows[list.rowCount++] : list.spareRow;
    if (&row == &list.spareRow)
        list.droppedRows++;
    va_list args;
    va_start(args, format);
    formatRow(row, glyphHeight, advance, colour, format, args);
    va_end(args);
    return row;
}

// Centred on pixel column x: half the byte length in cells left of it.
int centredOn(int x, const TextRow &row);
// Centred on the window.
int centredX(const FieldMetrics &m, const TextRow &row);
// The pixel column of a view x, moved by offsetPx before truncating.
int columnXAt(const FieldMetrics &m, double viewX, int offsetPx);
// The pixel row (from the top) of a view y, moved down by offsetPx before truncating.
int rowYAt(const FieldMetrics &m, double viewY, int offsetPx);

// Each row in its colour; texturing and the texture-coordinate array must be on.
void drawTextRows(const TextRow *rows, int count);
