#pragma once
#include <cstddef>
#include <cstdint>

#include "library/title_texture.h"

// The GL-free half of a title texture: font, layout, drawing and the conversion to RGBA.

// The smallest power of two not below size (1 for 0 or 1).
int powerOfTwoAtLeast(int size);
// The text colour (0x00BBGGRR) as the bitmap stores it: 0x00RRGGBB.
uint32_t keyColourOf(uint32_t textColour);
// Turns a bitmap drawn over white (0x00RRGGBB per pixel) into RGBA with alpha in place: the key
// colour becomes opaque, untouched white transparent, and antialiased edges get an alpha from
// their luminance, darker being more opaque.
void convertTitlePixels(uint8_t *pixels, size_t pixelCount, uint32_t keyColour);

// Decodes the title's text, opens its font at twice its fontSize, measures the text, and sizes
// the texture and a zeroed pixel block to match. Any font the record held is closed first.
void layOutTitle(TitleTexture &title);
// Clears the pixel block to white, draws the decoded text one line per line feed, and converts it.
void drawTitlePixels(TitleTexture &title);
