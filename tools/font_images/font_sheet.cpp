#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "images.h"

namespace {

constexpr int Cell = 20;
constexpr int Columns = 12;
// The ink of a glyph stays inside this box of its cell (pixel rows and columns 2 to 17); the rim
// and a clear border take the rest, so linear filtering never picks up a neighbouring cell.
constexpr int InkLeft = 2, InkRight = 18, InkTop = 2, InkBottom = 18;
// Capitals stand on row 16 and are 14 pixels high; symbols are centred on their middle.
constexpr int Baseline = 16;
constexpr float CapMiddle = 9.0f;
// DejaVu Sans Bold at 19 pixels has 14-pixel capitals; drawing them 22 pixels wide fills the
// cells so that letters abut like a typeset word rather than spaced-out capitals.
constexpr int EmHeight = 19, EmWidth = 22;

// Cell order of the font image, row by row; 0 leaves a cell blank.
const char32_t Glyphs[] = {
    'A', 'B', 'C', 'D',  'E', 'F', 'G',       'H',       'I',       'J',       'K',       'L',       'M', 'N',
    'O', 'P', 'Q', 'R',  'S', 'T', 'U',       'V',       'W',       'X',       'Y',       'Z',       '0', '1',
    '2', '3', '4', '5',  '6', '7', '8',       '9',       '!',       '?',       '.',       ':',       '"', '-',
    '/', '[', ']', '\'', '+', 0,   U'\u2606', U'\u2605', U'\u2190', U'\u2191', U'\u2192', U'\u2193',
};
constexpr int SymbolRow = 4;

std::string findBoldSans()
{
    FcPattern *pattern = FcNameParse(reinterpret_cast<const FcChar8 *>("DejaVu Sans:style=Bold"));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern *match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    std::string file;
    FcChar8 *family = nullptr, *path = nullptr;
    int weight = 0;
    if (match && FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch &&
        FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch &&
        FcPatternGetInteger(match, FC_WEIGHT, 0, &weight) == FcResultMatch &&
        std::string(reinterpret_cast<const char *>(family)) == "DejaVu Sans" && weight >= FC_WEIGHT_BOLD)
        file = reinterpret_cast<const char *>(path);
    if (match)
        FcPatternDestroy(match);
    return file;
}

// Coverage of one glyph, 0 to 1, laid into a cell-sized grid.
using CellCoverage = std::vector<float>;

bool renderGlyph(FT_Face face, char32_t codePoint, int pixelWidth, int pixelHeight)
{
    return FT_Set_Pixel_Sizes(face, pixelWidth, pixelHeight) == 0 &&
           FT_Load_Char(face, codePoint, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) == 0 &&
           FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) == 0;
}

// Renders the glyph hinted at the largest size whose ink fits the ink box: wide glyphs are
// narrowed, tall ones (brackets, descenders) made shorter. Letters keep the baseline.
bool layGlyph(FT_Face face, char32_t codePoint, bool centred, CellCoverage &coverage)
{
    const int boxWidth = InkRight - InkLeft, boxHeight = InkBottom - InkTop;
    int pixelWidth = EmWidth, pixelHeight = EmHeight;
    for (int attempt = 0; attempt < 8; ++attempt) {
        if (!renderGlyph(face, codePoint, pixelWidth, pixelHeight))
            return false;
        const FT_Bitmap &bitmap = face->glyph->bitmap;
        if (int(bitmap.width) > boxWidth)
            pixelWidth = std::max(1, pixelWidth * boxWidth / int(bitmap.width) - (attempt > 0));
        else if (int(bitmap.rows) > boxHeight)
            pixelHeight = std::max(1, pixelHeight * boxHeight / int(bitmap.rows) - (attempt > 0));
        else
            break;
    }
    const FT_GlyphSlot glyph = face->glyph;
    const FT_Bitmap &bitmap = glyph->bitmap;
    const int rows = int(bitmap.rows), columns = int(bitmap.width);
    const int left = std::clamp((Cell - columns) / 2, InkLeft, std::max(InkLeft, InkRight - columns));
    int top = centred ? int(std::lround(CapMiddle - rows / 2.0f)) : Baseline - glyph->bitmap_top;
    top = std::clamp(top, InkTop, std::max(InkTop, InkBottom - rows));
    coverage.assign(Cell * Cell, 0.0f);
    for (int row = 0; row < rows && top + row < Cell; ++row)
        for (int column = 0; column < columns && left + column < Cell; ++column)
            coverage[(top + row) * Cell + left + column] = bitmap.buffer[row * bitmap.pitch + column] / 255.0f;
    return true;
}

// The stars are drawn here rather than taken from the font: its hollow star has hairline edges
// that vanish when the cell is drawn 15 pixels high.
constexpr char32_t HollowStar = U'\u2606', FilledStar = U'\u2605';

struct StarShape {
    Point corners[10];
};

StarShape starShape()
{
    constexpr float Outer = 8.2f, Inner = 3.9f;
    const Point centre{Cell / 2.0f, CapMiddle + 1.6f};
    StarShape star;
    for (int i = 0; i < 10; ++i) {
        const float radius = i % 2 ? Inner : Outer, angle = Pi * i / 5;
        star.corners[i] = {centre.x + radius * std::sin(angle), centre.y - radius * std::cos(angle)};
    }
    return star;
}

bool insideStar(const StarShape &star, float x, float y)
{
    bool inside = false;
    for (int i = 0, j = 9; i < 10; j = i++) {
        const Point a = star.corners[i], b = star.corners[j];
        if ((a.y > y) != (b.y > y) && x < a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y))
            inside = !inside;
    }
    return inside;
}

float distanceToStarEdge(const StarShape &star, Point p)
{
    float nearest = distanceToSegment(p, star.corners[9], star.corners[0]);
    for (int i = 1; i < 10; ++i)
        nearest = std::min(nearest, distanceToSegment(p, star.corners[i - 1], star.corners[i]));
    return nearest;
}

CellCoverage starCoverage(bool filled)
{
    constexpr float HollowStroke = 1.7f;
    const StarShape star = starShape();
    auto inStroke = [&](float x, float y) {
        return insideStar(star, x, y) && (filled || distanceToStarEdge(star, {x, y}) < HollowStroke);
    };
    CellCoverage coverage(Cell * Cell, 0.0f);
    for (int y = 0; y < Cell; ++y)
        for (int x = 0; x < Cell; ++x)
            coverage[y * Cell + x] = pixelCoverage(x, y, 8, inStroke);
    return coverage;
}

// How strongly the rim covers each pixel: the glyph's coverage spread over a disc of 1.3 pixels.
CellCoverage rimOf(const CellCoverage &coverage)
{
    constexpr float Radius = 1.3f;
    CellCoverage rim(Cell * Cell, 0.0f);
    for (int y = 0; y < Cell; ++y)
        for (int x = 0; x < Cell; ++x)
            for (int dy = -2; dy <= 2; ++dy)
                for (int dx = -2; dx <= 2; ++dx) {
                    const int sx = x + dx, sy = y + dy;
                    if (sx < 0 || sy < 0 || sx >= Cell || sy >= Cell)
                        continue;
                    const float reach = std::clamp(Radius + 0.5f - std::hypot(float(dx), float(dy)), 0.0f, 1.0f);
                    rim[y * Cell + x] = std::max(rim[y * Cell + x], coverage[sy * Cell + sx] * reach);
                }
    return rim;
}

} // namespace

bool drawFontSheet(Canvas &canvas, std::string &error)
{
    const std::string file = findBoldSans();
    if (file.empty()) {
        error = "DejaVu Sans Bold not found (install fonts-dejavu-core)";
        return false;
    }
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    if (FT_Init_FreeType(&library) != 0 || FT_New_Face(library, file.c_str(), 0, &face) != 0) {
        error = "cannot open " + file;
        FT_Done_FreeType(library);
        return false;
    }
    canvas = makeCanvas(256, 128);
    const Colour white{1, 1, 1, 1};
    const int cellCount = int(sizeof Glyphs / sizeof Glyphs[0]);
    for (int index = 0; index < cellCount; ++index) {
        if (Glyphs[index] == 0)
            continue;
        const int row = index / Columns;
        CellCoverage coverage;
        if (Glyphs[index] == HollowStar || Glyphs[index] == FilledStar) {
            coverage = starCoverage(Glyphs[index] == FilledStar);
        } else if (!layGlyph(face, Glyphs[index], row == SymbolRow, coverage)) {
            char codePoint[16];
            snprintf(codePoint, sizeof codePoint, "U+%04X", unsigned(Glyphs[index]));
            error = std::string("cannot render ") + codePoint + " from " + file;
            break;
        }
        const CellCoverage rim = rimOf(coverage);
        const int cellX = index % Columns * Cell, cellY = row * Cell;
        for (int y = 0; y < Cell; ++y)
            for (int x = 0; x < Cell; ++x) {
                paint(canvas, cellX + x, cellY + y, RimColour, rim[y * Cell + x]);
                paint(canvas, cellX + x, cellY + y, white, coverage[y * Cell + x]);
            }
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return error.empty();
}
