#include "gfx/png_decoder.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <png.h>
#include <string>

#include "platform/regular_file.h"

namespace {

// Far beyond any image the game ships; keeps a forged header from asking for gigabytes.
constexpr png_uint_32 MaxImageSide = 8192;
// The same for the file: the game's images are a few kilobytes, and a bigger file is not read.
constexpr uint64_t MaxFileBytes = uint64_t(64) << 20;

struct DecodedImage {
    uint8_t *pixels = nullptr;
    int width = 0;
    int height = 0;
};

void requestBgraTransformations(png_structp png, png_infop info)
{
    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colourType = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colourType, nullptr, nullptr, nullptr);
    if (colourType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    else if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_tRNS_to_alpha(png);
    if (bitDepth > 8)
        png_set_strip_16(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    if (!(colourType & PNG_COLOR_MASK_ALPHA))
        png_set_filler(png, 0xff, PNG_FILLER_AFTER);
    png_set_bgr(png);
}

// Everything between png_read_info and png_read_image. libpng reports errors by longjmp back to
// the setjmp here, so this frame holds only trivially destructible locals; whatever it allocated
// is released on that path.
bool readImage(png_structp png, png_infop info, DecodedImage *out)
{
    uint8_t *volatile pixels = nullptr;
    png_bytep *volatile rows = nullptr;
    if (setjmp(png_jmpbuf(png))) {
        free(pixels);
        free(rows);
        return false;
    }
    png_set_user_limits(png, MaxImageSide, MaxImageSide);
    // Only the pixels matter here, and libpng allocates an ancillary chunk's declared length
    // before reading it: a 100-byte file declaring a 2 GB palette suggestion would get its 2 GB.
    // Skipped chunks are read through a small buffer instead.
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_read_info(png, info);
    requestBgraTransformations(png, info);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    const size_t rowBytes = size_t(width) * 4;
    // Every colour type must come out as 4 bytes per pixel; anything else would overrun the rows.
    if (png_get_rowbytes(png, info) != rowBytes)
        png_error(png, "unexpected row size after conversion to BGRA");

    pixels = static_cast<uint8_t *>(calloc(size_t(height) * rowBytes, 1));
    rows = static_cast<png_bytep *>(malloc(sizeof(png_bytep) * height));
    if (!pixels || !rows)
        png_error(png, "out of memory");
    for (png_uint_32 r = 0; r < height; ++r)
        rows[r] = pixels + r * rowBytes;
    png_read_image(png, rows);
    free(rows);

    out->pixels = pixels;
    out->width = int(width);
    out->height = int(height);
    return true;
}

// Reads the whole file at path into bytes; false when there is nothing to decode. A file that is
// not there is simply a missing image, but a directory, device or pipe under the image's name,
// or a file far too big to be one of ours, deserves a line on stderr.
bool readImageFile(const char *path, std::string &bytes)
{
    std::string reason;
    const FileStatus status = readRegularFile(path, MaxFileBytes, bytes, reason);
    if (status == FileStatus::Refused)
        fprintf(stderr, "lumatide: %s: %s; treating the image as missing\n", path, reason.c_str());
    return status == FileStatus::Opened;
}

// Where libpng's reads stand in the PNG bytes.
struct PngCursor {
    const uint8_t *data = nullptr;
    size_t size = 0;
    size_t offset = 0;
};

// libpng read callback: copies the next bytes of the PngCursor registered as the I/O pointer.
// A read past the end raises a libpng error, so truncated files fail instead of reading beyond.
void readPngBytes(png_structp decoder, png_bytep destination, png_size_t length)
{
    auto *cursor = static_cast<PngCursor *>(png_get_io_ptr(decoder));
    if (length > cursor->size - cursor->offset)
        png_error(decoder, "file ends early");
    memcpy(destination, cursor->data + cursor->offset, length);
    cursor->offset += length;
}

} // namespace

int decodePngBytes(const uint8_t *data, size_t size, uint8_t **pixelsOut, int *widthOut, int *heightOut)
{
    if (!data || png_sig_cmp(data, 0, size) != 0)
        return 0;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return 0;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return 0;
    }
    PngCursor cursor{data, size, 0};
    png_set_read_fn(png, &cursor, readPngBytes);

    DecodedImage image;
    if (readImage(png, info, &image)) {
        *pixelsOut = image.pixels;
        if (widthOut)
            *widthOut = image.width;
        if (heightOut)
            *heightOut = image.height;
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return 0;
}

int decodePng(const char *path, uint8_t **pixelsOut, int *widthOut, int *heightOut)
{
    std::string bytes;
    if (!readImageFile(path, bytes))
        return 0;
    return decodePngBytes(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size(), pixelsOut, widthOut,
                          heightOut);
}
