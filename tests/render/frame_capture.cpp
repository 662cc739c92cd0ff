#include "frame_capture.h"

#include <GL/gl.h>
#include <cstdlib>
#include <filesystem>
#include <png.h>

#include "gfx/gfx_state.h"
#include "gfx/png_decoder.h"
#include "gfx/render_frame.h"
#include "images/png_writer.h"
#include "platform/window.h"

bool openRenderWindow()
{
    static const bool opened = [] {
        if (!windowCreate("lumatide render test", WindowWidth, WindowHeight))
            return false;
        windowShow();
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
        return true;
    }();
    return opened;
}

static unsigned uploadRgba(const std::vector<uint8_t> &pixels, int width, int height, GLenum format, GLint filter)
{
    unsigned texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, format, GL_UNSIGNED_BYTE, pixels.data());
    return texture;
}

unsigned makeBlockFont()
{
    const int width = 256, height = 128, cell = 20;
    std::vector<uint8_t> pixels(width * height * 4, 255);
    for (int y = 3 * cell; y < 4 * cell; y++)
        for (int x = 11 * cell; x < 12 * cell; x++)
            pixels[(y * width + x) * 4 + 3] = 0;
    return uploadRgba(pixels, width, height, GL_RGBA, GL_NEAREST);
}

const uint8_t *iconCellColour(int cell)
{
    static const uint8_t colours[8][3] = {{255, 0, 0},   {0, 255, 0},   {0, 0, 255},   {255, 255, 0},
                                          {0, 255, 255}, {255, 0, 255}, {255, 128, 0}, {0, 0, 0}};
    return colours[cell & 7];
}

unsigned makeIconStrip()
{
    const int width = 256, height = 32;
    std::vector<uint8_t> pixels(width * height * 4, 255);
    for (int y = 0; y < height; y++) {
        for (int x = 0; x < width; x++) {
            const uint8_t *colour = iconCellColour(x / 32);
            for (int c = 0; c < 3; c++)
                pixels[(y * width + x) * 4 + c] = colour[c];
        }
    }
    return uploadRgba(pixels, width, height, GL_RGBA, GL_NEAREST);
}

unsigned makeSolidTexture(int width, int height, uint8_t r, uint8_t g, uint8_t b)
{
    std::vector<uint8_t> pixels(width * height * 4, 255);
    for (int i = 0; i < width * height; i++) {
        pixels[i * 4] = r;
        pixels[i * 4 + 1] = g;
        pixels[i * 4 + 2] = b;
    }
    return uploadRgba(pixels, width, height, GL_RGBA, GL_NEAREST);
}

unsigned loadBuildImage(const char *fileName)
{
    uint8_t *bgra = nullptr;
    int width = 0, height = 0;
    decodePng((std::string(LUMATIDE_BUILD_DIR) + "/img/" + fileName).c_str(), &bgra, &width, &height);
    if (bgra == nullptr)
        return 0;
    const std::vector<uint8_t> pixels(bgra, bgra + width * height * 4);
    free(bgra);
    return uploadRgba(pixels, width, height, GL_BGRA, GL_LINEAR);
}

Rgb Capture::at(int px, int py) const
{
    const int row = clientHeight - 1 - py;
    if (px < 0 || px >= WindowWidth || row < 0 || row >= WindowHeight)
        return Rgb{-1, -1, -1};
    const uint8_t *p = &rgb[(row * WindowWidth + px) * 3];
    return Rgb{p[0], p[1], p[2]};
}

Capture captureFrame(int clientHeight)
{
    Capture capture;
    capture.clientHeight = clientHeight;
    capture.rgb.resize(WindowWidth * WindowHeight * 3);
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, WindowWidth, WindowHeight, GL_RGB, GL_UNSIGNED_BYTE, capture.rgb.data());
    return capture;
}

void saveScreenshot(const Capture &capture, int width, const std::string &name)
{
    PngPicture picture;
    picture.width = width;
    picture.height = capture.clientHeight;
    picture.colourType = PNG_COLOR_TYPE_RGB;
    for (int py = 0; py < capture.clientHeight; py++) {
        for (int px = 0; px < width; px++) {
            const Rgb pixel = capture.at(px, py);
            picture.rows.push_back(static_cast<uint8_t>(pixel.r));
            picture.rows.push_back(static_cast<uint8_t>(pixel.g));
            picture.rows.push_back(static_cast<uint8_t>(pixel.b));
        }
    }
    const std::filesystem::path folder = std::filesystem::path(LUMATIDE_BUILD_DIR) / "screenshots";
    std::filesystem::create_directories(folder);
    writeFile((folder / (name + ".png")).string(), encodePng(picture));
}

Capture drawCheckedFrame(uint32_t nowMs, const std::string &screenshotName)
{
    static const unsigned blockFont = makeBlockFont();
    static const unsigned iconStrip = makeIconStrip();
    static const unsigned gameFont = loadBuildImage("font_l.png");
    static const unsigned gameIcons = loadBuildImage("wave.png");
    if (gameFont != 0) {
        gfx.fontTexture = gameFont;
        gfx.waveTexture = gameIcons != 0 ? gameIcons : iconStrip;
        drawFrame(FrameInput{nowMs, false});
        saveScreenshot(captureFrame(WindowHeight), WindowWidth, screenshotName);
    }
    gfx.fontTexture = blockFont;
    gfx.waveTexture = iconStrip;
    drawFrame(FrameInput{nowMs, false});
    Capture capture = captureFrame(WindowHeight);
    if (gameFont == 0)
        saveScreenshot(capture, WindowWidth, screenshotName);
    return capture;
}
