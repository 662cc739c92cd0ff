// Start-up costs of the pictures: decoding the shipped images, laying out and drawing one title
// (fontconfig match, FreeType rendering, conversion), and the per-string glyph arrays of drawText.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "gfx/png_decoder.h"
#include "gfx/text_quads.h"
#include "gfx/title_pixels.h"

static void BM_DecodeFontImage(benchmark::State &state)
{
    const std::string path = std::string(LUMATIDE_BUILD_DIR) + "/img/font_l.png";
    for (auto _ : state) {
        uint8_t *pixels = nullptr;
        int width = 0, height = 0;
        decodePng(path.c_str(), &pixels, &width, &height);
        if (!pixels) {
            state.SkipWithError("build/img/font_l.png missing");
            break;
        }
        free(pixels);
    }
}
BENCHMARK(BM_DecodeFontImage);

static void BM_TitleLayOutAndDraw(benchmark::State &state, const char *text)
{
    for (auto _ : state) {
        TitleTexture title;
        title.text = text;
        title.fontSize = 18;
        layOutTitle(title);
        drawTitlePixels(title);
        closeSystemFont(title.font);
        benchmark::DoNotOptimize(title.pixels.data());
    }
}
BENCHMARK_CAPTURE(BM_TitleLayOutAndDraw, latin, "Glass Harbor (Extra)")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TitleLayOutAndDraw, cp932, "\x83\x65\x83\x58\x83\x67\x8B\xC8 \x82\xD0\x82\xBE\x82\xDC\x82\xE8")
    ->Unit(benchmark::kMillisecond);

static void BM_BuildTextQuads(benchmark::State &state)
{
    const std::string text = "PRESS SPACE KEY TO START";
    TextQuads quads;
    for (auto _ : state) {
        buildTextQuads(20, text.data(), int(text.size()), 80, 408, 20, 640, 0.75, quads);
        benchmark::DoNotOptimize(quads.positions);
    }
}
BENCHMARK(BM_BuildTextQuads);
