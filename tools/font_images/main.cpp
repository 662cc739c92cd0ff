// Draws the game's font, wave-type icons and window icon into a folder, and with a second folder
// the desktop icons too, one <size>x<size>.png per size:
//   lumatide-font-images <output folder> [<icon folder>]
// The results are committed under assets/img/ and packaging/icons/; run this again after
// changing the drawing.
#include <cstdio>
#include <string>
#include <vector>

#include "images.h"

int main(int argc, char **argv)
{
    if (argc != 2 && argc != 3) {
        fprintf(stderr, "usage: %s <output folder> [<icon folder>]\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    Canvas font;
    std::string error;
    if (!drawFontSheet(font, error)) {
        fprintf(stderr, "font_l.png: %s\n", error.c_str());
        return 1;
    }
    struct Image {
        std::string path;
        Canvas canvas;
    };
    std::vector<Image> images = {{folder + "/font_l.png", font},
                                 {folder + "/wave.png", drawWaveIcons()},
                                 {folder + "/icon.png", drawWindowIcon(64)}};
    if (argc == 3) {
        for (int size : DesktopIconSizes) {
            const std::string name = std::to_string(size) + "x" + std::to_string(size) + ".png";
            images.push_back({std::string(argv[2]) + "/" + name, drawWindowIcon(size)});
        }
    }
    for (const Image &image : images) {
        if (!writeCanvasPng(image.canvas, image.path)) {
            fprintf(stderr, "cannot write %s\n", image.path.c_str());
            return 1;
        }
        printf("wrote %s (%d x %d)\n", image.path.c_str(), image.canvas.width, image.canvas.height);
    }
    return 0;
}
