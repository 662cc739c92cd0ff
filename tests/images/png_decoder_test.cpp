#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "gfx/png_decoder.h"
#include "png_writer.h"

namespace {

using Bytes = std::vector<uint8_t>;

// The outputs start at sentinels, so a decoder that writes anything on failure is caught.
constexpr int UntouchedSize = -7;

struct Decoded {
    bool present = false;
    int width = UntouchedSize;
    int height = UntouchedSize;
    Bytes bgra;
};

Decoded decodeBytes(const Bytes &png)
{
    Decoded result;
    uint8_t untouched = 0;
    uint8_t *pixels = &untouched;
    decodePngBytes(png.data(), png.size(), &pixels, &result.width, &result.height);
    if (pixels != &untouched) {
        result.present = true;
        if (pixels)
            result.bgra.assign(pixels, pixels + size_t(result.width) * result.height * 4);
        free(pixels);
    }
    return result;
}

bool countsAsMissing(const Decoded &image)
{
    return !image.present && image.width == UntouchedSize && image.height == UntouchedSize;
}

std::string tempPath(const char *name) { return testing::TempDir() + name; }

struct ColourTypeCase {
    const char *name;
    PngPicture picture;
    Bytes expectedBgra;
};

} // namespace

TEST(DecodePng, EveryColourTypeBecomesTopDownBgra)
{
    const ColourTypeCase cases[] = {
        {"palette with tRNS",
         {2, 1, PNG_COLOR_TYPE_PALETTE, 8, false, {0, 1}, {255, 0, 0, 0, 255, 0}, {0x80}, -1},
         {0, 0, 255, 0x80, 0, 255, 0, 255}},
        {"palette 4-bit without tRNS",
         {2, 1, PNG_COLOR_TYPE_PALETTE, 4, false, {0x10}, {1, 2, 3, 4, 5, 6}, {}, -1},
         {6, 5, 4, 255, 3, 2, 1, 255}},
        {"rgb, top-left first",
         {2, 2, PNG_COLOR_TYPE_RGB, 8, false, {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120}, {}, {}, -1},
         {30, 20, 10, 255, 60, 50, 40, 255, 90, 80, 70, 255, 120, 110, 100, 255}},
        {"rgba keeps alpha",
         {1, 2, PNG_COLOR_TYPE_RGBA, 8, false, {1, 2, 3, 4, 5, 6, 7, 8}, {}, {}, -1},
         {3, 2, 1, 4, 7, 6, 5, 8}},
        {"rgb 16-bit",
         {1, 1, PNG_COLOR_TYPE_RGB, 16, false, {0x12, 0x34, 0xAB, 0xCD, 0xFF, 0x00}, {}, {}, -1},
         {0xFF, 0xAB, 0x12, 255}},
        {"rgba 16-bit",
         {1, 1, PNG_COLOR_TYPE_RGBA, 16, false, {0x10, 0, 0x20, 0, 0x30, 0, 0x40, 0}, {}, {}, -1},
         {0x30, 0x20, 0x10, 0x40}},
        {"grey 1-bit",
         {3, 1, PNG_COLOR_TYPE_GRAY, 1, false, {0xA0}, {}, {}, -1},
         {255, 255, 255, 255, 0, 0, 0, 255, 255, 255, 255, 255}},
        {"grey 2-bit",
         {2, 1, PNG_COLOR_TYPE_GRAY, 2, false, {0xD0}, {}, {}, -1},
         {255, 255, 255, 255, 85, 85, 85, 255}},
        {"grey 4-bit",
         {2, 1, PNG_COLOR_TYPE_GRAY, 4, false, {0x5F}, {}, {}, -1},
         {85, 85, 85, 255, 255, 255, 255, 255}},
        {"grey 8-bit with tRNS", {2, 1, PNG_COLOR_TYPE_GRAY, 8, false, {7, 9}, {}, {}, 7}, {7, 7, 7, 0, 9, 9, 9, 255}},
        {"grey 16-bit", {1, 1, PNG_COLOR_TYPE_GRAY, 16, false, {0xC8, 0x01}, {}, {}, -1}, {0xC8, 0xC8, 0xC8, 255}},
        {"grey with alpha",
         {2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, {100, 50, 200, 255}, {}, {}, -1},
         {100, 100, 100, 50, 200, 200, 200, 255}},
        {"interlaced rgba",
         {3,
          3,
          PNG_COLOR_TYPE_RGBA,
          8,
          true,
          {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18,
           19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36},
          {},
          {},
          -1},
         {3,  2,  1,  4,  7,  6,  5,  8,  11, 10, 9,  12, 15, 14, 13, 16, 19, 18,
          17, 20, 23, 22, 21, 24, 27, 26, 25, 28, 31, 30, 29, 32, 35, 34, 33, 36}},
    };
    for (const ColourTypeCase &c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes png = encodePng(c.picture);
        ASSERT_FALSE(png.empty());
        const Decoded image = decodeBytes(png);
        ASSERT_TRUE(image.present);
        EXPECT_EQ(image.width, c.picture.width);
        EXPECT_EQ(image.height, c.picture.height);
        EXPECT_EQ(image.bgra, c.expectedBgra);
    }
}

TEST(DecodePng, ReadsFilesAndLeavesOutputsAloneOnFailure)
{
    const Bytes rgba = encodePng({1, 1, PNG_COLOR_TYPE_RGBA, 8, false, {9, 8, 7, 6}, {}, {}, -1});
    writeFile(tempPath("good.png"), rgba);
    writeFile(tempPath("text.png"), Bytes{'h', 'e', 'l', 'l', 'o', '\n'});
    writeFile(tempPath("empty.png"), Bytes{});
    std::filesystem::create_directory(tempPath("folder.png"));
    // Nobody writes to this pipe: opening it must not wait for a writer.
    std::filesystem::remove(tempPath("pipe.png"));
    mkfifo(tempPath("pipe.png").c_str(), 0600);
    // A good image followed by a sparse tail: it would decode if the decoder read that far.
    writeFile(tempPath("huge.png"), rgba);
    std::filesystem::resize_file(tempPath("huge.png"), (std::uintmax_t(64) << 20) + 1);

    uint8_t *pixels = nullptr;
    int width = 0, height = 0;
    decodePng(tempPath("good.png").c_str(), &pixels, &width, &height);
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(Bytes(pixels, pixels + 4), (Bytes{7, 8, 9, 6}));
    EXPECT_EQ(width, 1);
    EXPECT_EQ(height, 1);
    free(pixels);

    pixels = nullptr;
    decodePng(tempPath("good.png").c_str(), &pixels, nullptr, nullptr);
    EXPECT_NE(pixels, nullptr);
    free(pixels);

    const struct {
        const char *name;
        const char *message; // what stderr says, or null for silence
    } failures[] = {
        {"text.png", nullptr},
        {"empty.png", nullptr},
        {"missing.png", nullptr},
        {"folder.png", "not a regular file"},
        {"pipe.png", "not a regular file"},
        {"huge.png", "larger than 64 MB"},
    };
    for (const auto &failure : failures) {
        SCOPED_TRACE(failure.name);
        uint8_t untouched = 0;
        pixels = &untouched;
        width = UntouchedSize, height = UntouchedSize;
        testing::internal::CaptureStderr();
        decodePng(tempPath(failure.name).c_str(), &pixels, &width, &height);
        const std::string message = testing::internal::GetCapturedStderr();
        EXPECT_EQ(pixels, &untouched);
        EXPECT_EQ(width, UntouchedSize);
        EXPECT_EQ(height, UntouchedSize);
        if (failure.message) {
            EXPECT_NE(message.find(failure.message), std::string::npos) << message;
            EXPECT_NE(message.find(failure.name), std::string::npos) << message;
        } else {
            EXPECT_EQ(message, "");
        }
    }
    std::filesystem::remove(tempPath("huge.png"));
}

TEST(DecodePng, TruncatedOrCorruptDataCountsAsMissing)
{
    Bytes rows(32 * 32 * 3);
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i] = uint8_t(i * 7);
    const Bytes png = encodePng({32, 32, PNG_COLOR_TYPE_RGB, 8, false, rows, {}, {}, -1});
    const size_t iendSize = 12;
    for (size_t cut = 0; cut + iendSize < png.size(); ++cut) {
        SCOPED_TRACE(cut);
        EXPECT_TRUE(countsAsMissing(decodeBytes(Bytes(png.begin(), png.begin() + cut))));
    }
    Bytes corrupt = png;
    corrupt[png.size() / 2] ^= 0x55;
    EXPECT_TRUE(countsAsMissing(decodeBytes(corrupt)));
}

TEST(DecodePng, RejectsImagesTooLargeToBeTextures)
{
    PngPicture huge{9000, 1, PNG_COLOR_TYPE_GRAY, 1, false, Bytes(1125), {}, {}, -1};
    EXPECT_TRUE(countsAsMissing(decodeBytes(encodePng(huge))));
}

// Real-world files from the machine's icon theme: whatever encoder made them, they must decode
// to the size their header states.
TEST(DecodePng, DecodesIconThemeFiles)
{
    std::vector<std::string> paths;
    std::error_code error;
    for (const char *root : {"/usr/share/icons/hicolor", "/usr/share/icons/Adwaita", "/usr/share/pixmaps"}) {
        for (auto it = std::filesystem::recursive_directory_iterator(root, error);
             !error && it != std::filesystem::recursive_directory_iterator() && paths.size() < 40;
             it.increment(error)) {
            if (it->path().extension() == ".png")
                paths.push_back(it->path().string());
        }
    }
    if (paths.empty())
        GTEST_SKIP() << "no icon theme PNG files on this machine";
    for (const std::string &path : paths) {
        SCOPED_TRACE(path);
        FILE *file = fopen(path.c_str(), "rb");
        ASSERT_NE(file, nullptr);
        uint8_t header[24] = {};
        const size_t got = fread(header, 1, sizeof header, file);
        fclose(file);
        ASSERT_EQ(got, sizeof header);
        const int headerWidth = (header[16] << 24) | (header[17] << 16) | (header[18] << 8) | header[19];
        const int headerHeight = (header[20] << 24) | (header[21] << 16) | (header[22] << 8) | header[23];
        uint8_t *pixels = nullptr;
        int width = 0, height = 0;
        decodePng(path.c_str(), &pixels, &width, &height);
        ASSERT_NE(pixels, nullptr);
        EXPECT_EQ(width, headerWidth);
        EXPECT_EQ(height, headerHeight);
        free(pixels);
    }
}
