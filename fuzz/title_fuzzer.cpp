// Any bytes as a song title: decoded from UTF-8 or CP932, laid out with the system font and drawn
// into its pixel block. The decoded text is valid UTF-8, equal to the input when that already was,
// and the texture stays within the size a GL implementation takes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "gfx/title_pixels.h"
#include "library/file_lookup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TitleTexture title;
    title.text.assign(reinterpret_cast<const char *>(data), size);
    title.fontSize = size % 2 == 0 ? 12 : 18;
    layOutTitle(title);
    if (!isValidUtf8(title.utf8Text) || (isValidUtf8(title.text) && title.utf8Text != title.text))
        std::abort();
    if (title.texWidth < title.extentWidth || title.texWidth > 4096 || title.texHeight < title.extentHeight ||
        title.pixels.size() != size_t(title.texWidth) * title.texHeight * 4)
        std::abort();
    drawTitlePixels(title);
    closeSystemFont(title.font);
    return 0;
}
