// Draws the game's font, wave-type icons and window icon into a folder:
//   lumatide-font-images <output folder>
// The results are committed under assets/img/; run this again after changing the drawing.
#include <cstdio>
#include <string>

#include "images.h"

int main(int argc, char **argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    Canvas font;
    std::string error;
    if (!drawFontSheet(font, error)) {
        fprintf(stderr, "font_l.png: %s\n", error.c_str());
        return 1;
    }
    const struct {
        const char *name;
        Canvas canvas;
    } images[] = {{"font_l.png", font}, {"wave.png", drawWaveIcons()}, {"icon.png", drawWindowIcon()}};
    for (const auto &image : images) {
        const std::string path = folder + "/" + image.name;
        if (!writeCanvasPng(image.canvas, path)) {
            fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        printf("wrote %s (%d x %d)\n", path.c_str(), image.canvas.width, image.canvas.height);
    }
    return 0;
}
