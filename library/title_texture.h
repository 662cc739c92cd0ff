#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/fonts.h"

// A song title rendered with a system font into a texture with alpha. Every catalogue entry has
// one, but only while a screen draws it does it hold its font, pixels and texture: until then, and
// again once released, it is the text and how to draw it.
struct TitleTexture {
    std::string text = "test";
    std::string utf8Text; // text decoded once for the font to measure and draw
    int extentWidth = 0;  // measured size of text in the title font, pixels
    int extentHeight = 0;
    int texWidth = 0; // powers of two not below the extent
    int texHeight = 0;
    int fontSize = 12;              // 18 once the chart has a TITLE line; pixel height is twice this
    uint32_t textColour = 0x3C3C3C; // 0x00BBGGRR
    std::vector<uint8_t> pixels;    // texWidth x texHeight x 4, top-down
    unsigned texture = 0;           // GL texture name; 0 while the title is not made
    SystemFont font;                // the title font, kept open for re-rendering until release
};
