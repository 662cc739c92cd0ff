// The images, a title and a string uploaded and drawn through a real GL context, then read back.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "gfx/image_texture.h"
#include "gfx/png_decoder.h"
#include "gfx/text.h"
#include "gfx/title_textures.h"
#include "platform/paths.h"
#include "platform/window.h"

namespace {

using Bytes = std::vector<uint8_t>;
constexpr int WindowWidth = 320, WindowHeight = 240;

bool openWindow()
{
    static const bool opened = windowCreate("lumatide images test", WindowWidth, WindowHeight);
    return opened;
}

struct TextureImage {
    int width = 0;
    int height = 0;
    Bytes pixels;
};

TextureImage readTexture(unsigned texture, GLenum format)
{
    TextureImage image;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &image.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &image.height);
    image.pixels.resize(size_t(image.width) * image.height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (!image.pixels.empty())
        glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, image.pixels.data());
    return image;
}

Bytes decodedImage(const char *name)
{
    uint8_t *pixels = nullptr;
    int width = 0, height = 0;
    decodePng((exeDirectory() + "/img/" + name).c_str(), &pixels, &width, &height);
    Bytes bytes;
    if (pixels)
        bytes.assign(pixels, pixels + size_t(width) * height * 4);
    free(pixels);
    return bytes;
}

// Opaque-ish texels in a rectangle of a BGRA image.
int visibleIn(const TextureImage &image, int x0, int y0, int x1, int y1)
{
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            count += image.pixels[(size_t(y) * image.width + x) * 4 + 3] > 128;
    return count;
}

class ImageUpload : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(openWindow()) << "needs a display (run under xvfb-run)";
        resetAppContext();
    }
};

} // namespace

TEST_F(ImageUpload, FontImageBecomesATextureTheSizeOfTheFile)
{
    unsigned texture = 0;
    loadImageTexture("font_l.png", &texture);
    ASSERT_NE(texture, 0u);
    const TextureImage image = readTexture(texture, GL_BGRA);
    EXPECT_EQ(image.width, 256);
    EXPECT_EQ(image.height, 128);
    EXPECT_EQ(image.pixels, decodedImage("font_l.png"));
    EXPECT_GT(visibleIn(image, 0, 0, 20, 20), 40) << "A";
    EXPECT_GT(visibleIn(image, 20, 80, 40, 100), 40) << "filled star";
    EXPECT_EQ(visibleIn(image, 220, 60, 240, 80), 0) << "the blank cell";
    EXPECT_EQ(visibleIn(image, 0, 100, 256, 128), 0) << "below the grid";
    glDeleteTextures(1, &texture);
}

TEST_F(ImageUpload, WaveIconsHaveSevenCells)
{
    unsigned texture = 0;
    loadImageTexture("wave.png", &texture);
    const TextureImage image = readTexture(texture, GL_BGRA);
    ASSERT_EQ(image.width, 512);
    ASSERT_EQ(image.height, 64);
    EXPECT_EQ(image.pixels, decodedImage("wave.png"));
    const int cell = image.width / 8;
    for (int c = 0; c < 7; ++c)
        EXPECT_GT(visibleIn(image, c * cell, 0, (c + 1) * cell, image.height), 100) << "cell " << c;
    EXPECT_GT(visibleIn(image, 6 * cell, 0, 7 * cell, image.height),
              2 * visibleIn(image, 5 * cell, 0, 6 * cell, image.height))
        << "unison on has three lines";
    glDeleteTextures(1, &texture);
}

TEST_F(ImageUpload, MissingImageGivesAnEmptyTexture)
{
    unsigned texture = 0;
    loadImageTexture("no_such_image.png", &texture);
    EXPECT_NE(texture, 0u);
    EXPECT_TRUE(glIsTexture(texture));
    const TextureImage image = readTexture(texture, GL_BGRA);
    EXPECT_EQ(image.width, 0);
    EXPECT_EQ(image.height, 0);
    glDeleteTextures(1, &texture);
}

TEST_F(ImageUpload, TitleTextureHoldsTheConvertedPixels)
{
    TitleTexture title;
    title.text = "\x83\x65\x83\x58\x83\x67"; // テスト in CP932
    title.fontSize = 18;
    createTitleTexture(title);
    ASSERT_NE(title.texture, 0u);
    const TextureImage image = readTexture(title.texture, GL_RGBA);
    EXPECT_EQ(image.width, title.texWidth);
    EXPECT_EQ(image.height, title.texHeight);
    EXPECT_EQ(image.pixels, title.pixels);
    EXPECT_GT(visibleIn(image, 0, 0, title.extentWidth, title.extentHeight), 100);

    // A second rendering starts from a clean bitmap and gives the same picture.
    renderTitleTexture(title);
    EXPECT_EQ(readTexture(title.texture, GL_RGBA).pixels, image.pixels);

    const unsigned texture = title.texture;
    releaseTitleTexture(title);
    EXPECT_FALSE(glIsTexture(texture));
    EXPECT_EQ(title.font.face, nullptr);
}

// Draws one glyph with drawText and reads the frame back: the letter lands in its cell upright.
TEST_F(ImageUpload, DrawTextPutsAnUprightGlyphAtItsPixels)
{
    loadImageTexture("font_l.png", &gfx.fontTexture);
    window.clientWidth = WindowWidth;
    window.aspect = double(WindowHeight) / WindowWidth;
    glViewport(0, 0, WindowWidth, WindowHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1, 1, -window.aspect, window.aspect, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glColor4f(1, 1, 1, 1);
    drawText(40, "Ax", 2, 100, 60, 40);
    glFinish();

    std::vector<uint8_t> frame(size_t(WindowWidth) * WindowHeight * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, WindowWidth, WindowHeight, GL_RGBA, GL_UNSIGNED_BYTE, frame.data());
    // Client pixel (x, y), y counted down from the top as drawText takes it.
    auto brightAt = [&](int x, int y) { return frame[(size_t(WindowHeight - 1 - y) * WindowWidth + x) * 4] > 200; };
    auto brightInRow = [&](int y, int x0, int x1) {
        int count = 0;
        for (int x = x0; x < x1; ++x)
            count += brightAt(x, y);
        return count;
    };
    auto brightIn = [&](int x0, int y0, int x1, int y1) {
        int count = 0;
        for (int y = y0; y < y1; ++y)
            count += brightInRow(y, x0, x1);
        return count;
    };
    EXPECT_GT(brightIn(100, 60, 140, 100), 200) << "the A";
    EXPECT_EQ(brightIn(0, 0, WindowWidth, 58), 0) << "above the glyph";
    EXPECT_EQ(brightIn(0, 102, WindowWidth, WindowHeight), 0) << "below the glyph";
    EXPECT_EQ(brightIn(140, 60, 180, 100), 0) << "lower case draws the blank cell";
    // An A is narrow at its apex and wide at its feet; upside down it would be the other way.
    auto spanOfRow = [&](int y) {
        int first = -1, last = -1;
        for (int x = 100; x < 140; ++x) {
            if (brightAt(x, y)) {
                first = first < 0 ? x : first;
                last = x;
            }
        }
        return first < 0 ? 0 : last - first + 1;
    };
    EXPECT_LT(spanOfRow(68), spanOfRow(88));

    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisable(GL_TEXTURE_2D);
    glDeleteTextures(1, &gfx.fontTexture);
}
