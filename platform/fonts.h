#pragma once
#include <cstdint>
#include <string>

// System fonts for the song titles: fontconfig picks the face, FreeType draws it.

// The default sans face chosen for one text, opened at one pixel height. Fonts whose texts get
// the same face share one open face, each with a size of its own on it; the face is closed with
// the last font that uses it.
struct SystemFont {
    void *face = nullptr; // the shared FreeType face; null when no font could be opened
    void *size = nullptr; // this font's FreeType size on that face
    int pixelHeight = 0;  // one line: ascent plus descent
    int baseline = 0;     // from the top of a line down to its baseline
    std::string name;     // "family (file)" for traces; empty without a face
};

struct TextExtent {
    int width = 0;
    int height = 0;
};

// A 32-bit top-down bitmap; each pixel read as a little-endian value is 0x00RRGGBB.
struct TextBitmap {
    uint8_t *pixels = nullptr;
    int width = 0;
    int height = 0;
};

// Opens the default sans face that covers utf8Text's script: fontconfig's match for its language
// and characters. Without a usable font the result has no face, measures 0 wide and draws nothing.
// Main thread only: the shared faces are kept without a lock.
SystemFont openSystemFont(const std::string &utf8Text, int pixelHeight);
void closeSystemFont(SystemFont &font);
// Width of the text in whole pixels (sum of the advances) and the line height.
TextExtent measureSystemFontText(const SystemFont &font, const std::string &utf8Text);
// Draws one line antialiased in textColour (0x00BBGGRR), each glyph's coverage blended over what
// the bitmap holds, with the line's top-left corner at (x, y). Clipped to the bitmap.
void drawSystemFontText(const SystemFont &font, const std::string &utf8Text, int x, int y, uint32_t textColour,
                        const TextBitmap &bitmap);
