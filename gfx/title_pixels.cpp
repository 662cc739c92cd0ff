#include "gfx/title_pixels.h"

#include <string>

#include "platform/title_encoding.h"

namespace {

constexpr uint32_t White = 0x00FFFFFF;
// Wider than any window shows a title, and within every GL implementation's texture limit; a
// longer title is cut off instead of failing to upload at all.
constexpr int MaxTitleWidth = 4096;

uint32_t readPixel(const uint8_t *p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }

void writeRgba(uint8_t *p, uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha)
{
    p[0] = red, p[1] = green, p[2] = blue, p[3] = alpha;
}

} // namespace

int powerOfTwoAtLeast(int size)
{
    int power = 1;
    while (power < size)
        power *= 2;
    return power;
}

uint32_t keyColourOf(uint32_t textColour)
{
    return (textColour & 0xFF) << 16 | (textColour & 0xFF00) | (textColour >> 16 & 0xFF);
}

void convertTitlePixels(uint8_t *pixels, size_t pixelCount, uint32_t keyColour)
{
    for (size_t i = 0; i < pixelCount; ++i) {
        uint8_t *p = pixels + i * 4;
        const uint32_t value = readPixel(p);
        const auto red = uint8_t(value >> 16), green = uint8_t(value >> 8), blue = uint8_t(value);
        if (value == keyColour) {
            writeRgba(p, red, green, blue, 255);
        } else if (value == White) {
            writeRgba(p, 0, 0, 0, 0);
        } else {
            // (1 - L) x 255 with L = (r/255 x 299 + g/255 x 587 + b/255 x 114) / 1000, in exact
            // integers so that truncation never lands one below the true value.
            const int weighted = red * 299 + green * 587 + blue * 114;
            writeRgba(p, red, green, blue, uint8_t((255 * 1000 - weighted) / 1000));
        }
    }
}

void layOutTitle(TitleTexture &title)
{
    closeSystemFont(title.font);
    title.utf8Text = titleTextToUtf8(title.text);
    title.font = openSystemFont(title.utf8Text, 2 * title.fontSize);
    const TextExtent extent = measureSystemFontText(title.font, title.utf8Text);
    title.extentWidth = extent.width < MaxTitleWidth ? extent.width : MaxTitleWidth;
    title.extentHeight = extent.height;
    title.texWidth = powerOfTwoAtLeast(title.extentWidth);
    title.texHeight = powerOfTwoAtLeast(extent.height);
    title.pixels.assign(size_t(title.texWidth) * title.texHeight * 4, 0);
}

void drawTitlePixels(TitleTexture &title)
{
    const size_t pixelCount = size_t(title.texWidth) * title.texHeight;
    if (title.pixels.size() != pixelCount * 4)
        return;
    for (size_t i = 0; i < pixelCount; ++i)
        writeRgba(&title.pixels[i * 4], 0xFF, 0xFF, 0xFF, 0);

    const TextBitmap bitmap{title.pixels.data(), title.texWidth, title.texHeight};
    const std::string &text = title.utf8Text;
    // Lines step by half the font's height, as titles always have; in practice a title is one line.
    const int lineStep = title.fontSize;
    int lineTop = 0;
    size_t lineStart = 0;
    while (lineStart <= text.size()) {
        size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string::npos)
            lineEnd = text.size();
        drawSystemFontText(title.font, text.substr(lineStart, lineEnd - lineStart), 0, lineTop, title.textColour,
                           bitmap);
        lineTop += lineStep;
        lineStart = lineEnd + 1;
    }
    convertTitlePixels(title.pixels.data(), pixelCount, keyColourOf(title.textColour));
}
