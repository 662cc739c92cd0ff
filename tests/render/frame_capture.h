#pragma once
// Support for the pixel tests: one window for the whole run, stand-in textures, and frames read
// back from the back buffer in client coordinates (origin top-left, y down).
#include <cstdint>
#include <string>
#include <vector>

constexpr int WindowWidth = 640;
constexpr int WindowHeight = 480;

// Creates and shows the window with its GL context once; false without a display.
bool openRenderWindow();

// A font whose every cell is an opaque white block except the blank cell, so each glyph draws
// as a solid rectangle in the text colour and a blank as a gap.
unsigned makeBlockFont();
// An icon strip of eight cells, cell c filled with iconCellColour(c).
unsigned makeIconStrip();
const uint8_t *iconCellColour(int cell);
unsigned makeSolidTexture(int width, int height, uint8_t r, uint8_t g, uint8_t b);
// The game's own font and icon images from the build folder, 0 when they are not there.
unsigned loadBuildImage(const char *fileName);

struct Rgb {
    int r = 0, g = 0, b = 0;
};

struct Capture {
    int clientHeight = WindowHeight;
    std::vector<uint8_t> rgb; // WindowWidth x WindowHeight, bottom row first as GL reads it
    Rgb at(int px, int py) const;
};

// Reads the back buffer; clientHeight says which rows hold the client area (GL counts from the
// bottom, so a lower client area lies in the bottom rows).
Capture captureFrame(int clientHeight);

// Writes the client area of width x clientHeight pixels to <build>/screenshots/<name>.png.
void saveScreenshot(const Capture &capture, int width, const std::string &name);

// Draws the frame at nowMs with the block font and the icon strip, whose glyphs and icons are
// solid cells for the checks, and returns it; the screenshot <name> is drawn with the game's own
// font and icons when the build has them, else it is the frame returned.
Capture drawCheckedFrame(uint32_t nowMs, const std::string &screenshotName);
