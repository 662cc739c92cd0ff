// libFuzzer target: any bytes handed to the PNG decoder either decode or count as a missing image.
// libpng is Debian's uninstrumented build, so coverage counts our side only: about 30 edges, all
// reached within seconds. An instrumented libpng built from source would steer mutations through
// its own chunk parser, which libpng's own fuzzing covers, while chunk CRCs still turn most
// mutations away; the seam with our code, the row size after our transformations, is checked in
// the decoder and written by libpng's row copy, which ASan checks as a memcpy. Not worth a source
// download and a second libpng build in every CI run.
#include <cstdint>
#include <cstdlib>

#include "gfx/png_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    uint8_t *pixels = nullptr;
    int width = 0, height = 0;
    decodePngBytes(data, size, &pixels, &width, &height);
    if (pixels) {
        // Touch the last byte so a block smaller than width x height x 4 shows up under ASan.
        volatile uint8_t last = pixels[size_t(width) * height * 4 - 1];
        (void)last;
        free(pixels);
    }
    return 0;
}
