#include "platform/fonts.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/core/utf8.h"

namespace {

FT_Library freeType()
{
    static FT_Library library = nullptr;
    static bool tried = false;
    if (!tried) {
        tried = true;
        if (FT_Init_FreeType(&library) != 0)
            library = nullptr;
    }
    return library;
}

std::vector<char32_t> codePointsOf(const std::string &utf8Text)
{
    std::vector<char32_t> codePoints;
    size_t pos = 0;
    while (pos < utf8Text.size()) {
        char32_t codePoint = 0;
        if (readUtf8CodePoint(utf8Text, pos, codePoint)) {
            codePoints.push_back(codePoint);
        } else {
            codePoints.push_back(0xFFFD);
            ++pos;
        }
    }
    return codePoints;
}

// Control characters have no glyph in a title; they take no room.
bool isDrawn(char32_t codePoint) { return codePoint >= 0x20 && codePoint != 0x7F; }

bool isJapanese(char32_t c)
{
    return (c >= 0x3000 && c <= 0x30FF) || (c >= 0x3400 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFF00 && c <= 0xFFEF);
}

bool loadFontconfig()
{
    // fontconfig's configuration and caches are freed at exit, so leak checkers stay quiet.
    static const bool loaded = [] {
        atexit(FcFini);
        return FcInit() == FcTrue;
    }();
    return loaded;
}

struct FontFile {
    std::string path;
    int index = 0;
};

// Asks fontconfig for the default sans face, preferring one that has every character of the
// text and, for Japanese, one made for that language. coverage, when given, receives a copy of
// the matched face's character set, which the caller destroys.
bool queryFontFile(const std::vector<char32_t> &codePoints, bool japanese, FontFile &file, FcCharSet **coverage)
{
    if (!loadFontconfig())
        return false;
    FcPattern *pattern = FcPatternCreate();
    if (!pattern)
        return false;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>("sans-serif"));
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcCharSet *charSet = FcCharSetCreate();
    for (char32_t c : codePoints) {
        if (isDrawn(c))
            FcCharSetAddChar(charSet, c);
    }
    FcPatternAddCharSet(pattern, FC_CHARSET, charSet);
    FcCharSetDestroy(charSet);
    if (japanese) {
        FcLangSet *langs = FcLangSetCreate();
        FcLangSetAdd(langs, reinterpret_cast<const FcChar8 *>("ja"));
        FcPatternAddLangSet(pattern, FC_LANG, langs);
        FcLangSetDestroy(langs);
    }
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern *match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match)
        return false;
    FcChar8 *path = nullptr;
    const bool found = FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch;
    if (found)
        file.path = reinterpret_cast<const char *>(path);
    if (FcPatternGetInteger(match, FC_INDEX, 0, &file.index) != FcResultMatch)
        file.index = 0;
    FcCharSet *matchCoverage = nullptr;
    if (coverage && FcPatternGetCharSet(match, FC_CHARSET, 0, &matchCoverage) == FcResultMatch) {
        // A copy of our own: a reference into fontconfig's cache would outlive the cache at exit.
        *coverage = FcCharSetCreate();
        FcCharSetMerge(*coverage, matchCoverage, nullptr);
    }
    FcPatternDestroy(match);
    return found;
}

// The face fontconfig prefers for a text when no character of the text counts against it.
struct PreferredFace {
    bool asked = false;
    bool found = false;
    FontFile file;
    FcCharSet *coverage = nullptr;
};

PreferredFace preferredFaces[2];

void releasePreferredFaces()
{
    for (PreferredFace &face : preferredFaces) {
        if (face.coverage)
            FcCharSetDestroy(face.coverage);
        face = PreferredFace{};
    }
}

// fontconfig scores every candidate and takes the best, and a text's characters only ever count
// against faces that lack some of them. So the face it picks for no characters at all is also its
// pick for any text that this face covers fully: only other texts need a query of their own.
// One preference per language the query can ask for.
bool matchFontFile(const std::vector<char32_t> &codePoints, FontFile &file)
{
    bool japanese = false;
    for (char32_t c : codePoints)
        japanese = japanese || isJapanese(c);
    PreferredFace &face = preferredFaces[japanese];
    if (!face.asked) {
        face.asked = true;
        face.found = queryFontFile({}, japanese, face.file, &face.coverage);
        // fontconfig links a character set's parts by offsets, which leak checkers cannot follow:
        // free them at exit, before FcFini (registered earlier) runs.
        static const bool releasedAtExit = atexit(releasePreferredFaces) == 0;
        (void)releasedAtExit;
    }
    bool covered = face.found && face.coverage;
    for (size_t i = 0; covered && i < codePoints.size(); ++i)
        covered = !isDrawn(codePoints[i]) || FcCharSetHasChar(face.coverage, codePoints[i]);
    if (covered) {
        file = face.file;
        return true;
    }
    return queryFontFile(codePoints, japanese, file, nullptr);
}

// One open face per font file, shared by every SystemFont on it and closed with the last of them.
struct SharedFace {
    FontFile file;
    FT_Face face = nullptr;
    int users = 0;
};

std::vector<SharedFace> &sharedFaces()
{
    static std::vector<SharedFace> faces;
    return faces;
}

FT_Face useFace(FT_Library library, const FontFile &file)
{
    std::vector<SharedFace> &faces = sharedFaces();
    for (SharedFace &shared : faces) {
        if (shared.file.path == file.path && shared.file.index == file.index) {
            shared.users++;
            return shared.face;
        }
    }
    FT_Face face = nullptr;
    if (FT_New_Face(library, file.path.c_str(), file.index, &face) != 0)
        return nullptr;
    faces.push_back(SharedFace{file, face, 1});
    return face;
}

void stopUsingFace(FT_Face face)
{
    std::vector<SharedFace> &faces = sharedFaces();
    const auto shared = std::find_if(faces.begin(), faces.end(),
                                     [face](const SharedFace &each) { return each.face == face; });
    if (shared == faces.end() || --shared->users > 0)
        return;
    FT_Done_Face(face);
    faces.erase(shared);
}

// The face set to the font's own pixel height: fonts on one face share it, each with its size.
FT_Face sizedFace(const SystemFont &font)
{
    auto face = static_cast<FT_Face>(font.face);
    if (face->size != static_cast<FT_Size>(font.size))
        FT_Activate_Size(static_cast<FT_Size>(font.size));
    return face;
}

// Loads the glyph of codePoint into the face's slot; false when the face cannot.
bool loadGlyph(FT_Face face, char32_t codePoint)
{
    // Outlines only: embedded bitmaps would come out without antialiasing, and measuring must
    // use the same advances as drawing.
    return FT_Load_Char(face, codePoint, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) == 0;
}

// Loads and renders the glyph of codePoint; false when the face cannot.
bool renderGlyph(FT_Face face, char32_t codePoint)
{
    return loadGlyph(face, codePoint) && FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) == 0;
}

int advanceOf(FT_Face face) { return int((face->glyph->advance.x + 32) >> 6); }

uint8_t blend(uint8_t text, uint8_t under, int coverage)
{
    return uint8_t((text * coverage + under * (255 - coverage) + 127) / 255);
}

// Blends an 8-bit coverage bitmap, the only kind outlines render to, into the text bitmap.
void blitGlyph(const FT_Bitmap &glyph, int left, int top, uint32_t textColour, const TextBitmap &bitmap)
{
    if (glyph.pixel_mode != FT_PIXEL_MODE_GRAY)
        return;
    const auto red = uint8_t(textColour), green = uint8_t(textColour >> 8), blue = uint8_t(textColour >> 16);
    for (int row = 0; row < int(glyph.rows); ++row) {
        const int y = top + row;
        if (y < 0 || y >= bitmap.height)
            continue;
        const uint8_t *source = glyph.buffer + row * glyph.pitch;
        for (int column = 0; column < int(glyph.width); ++column) {
            const int x = left + column;
            if (x < 0 || x >= bitmap.width)
                continue;
            const int coverage = source[column];
            if (coverage == 0)
                continue;
            uint8_t *pixel = bitmap.pixels + (size_t(y) * bitmap.width + x) * 4;
            pixel[0] = blend(blue, pixel[0], coverage);
            pixel[1] = blend(green, pixel[1], coverage);
            pixel[2] = blend(red, pixel[2], coverage);
            pixel[3] = 0;
        }
    }
}

} // namespace

SystemFont openSystemFont(const std::string &utf8Text, int pixelHeight)
{
    SystemFont font;
    font.pixelHeight = pixelHeight;
    FontFile file;
    FT_Library library = freeType();
    if (!library || pixelHeight <= 0 || !matchFontFile(codePointsOf(utf8Text), file))
        return font;
    FT_Face face = useFace(library, file);
    if (!face)
        return font;
    // The line height is the whole cell, ascent plus descent, as a font made "by height" has.
    FT_Size_RequestRec request{};
    request.type = FT_SIZE_REQUEST_TYPE_CELL;
    request.height = FT_Long(pixelHeight) * 64;
    const double cellUnits = double(face->ascender) - double(face->descender);
    FT_Size size = nullptr;
    if (!FT_IS_SCALABLE(face) || cellUnits <= 0 || FT_New_Size(face, &size) != 0) {
        stopUsingFace(face);
        return font;
    }
    if (FT_Activate_Size(size) != 0 || FT_Request_Size(face, &request) != 0) {
        FT_Done_Size(size);
        stopUsingFace(face);
        return font;
    }
    font.face = face;
    font.size = size;
    font.name = std::string(face->family_name ? face->family_name : "?") + " (" + file.path + ")";
    font.baseline = int(std::lround(pixelHeight * face->ascender / cellUnits));
    return font;
}

void closeSystemFont(SystemFont &font)
{
    if (font.face) {
        FT_Done_Size(static_cast<FT_Size>(font.size));
        stopUsingFace(static_cast<FT_Face>(font.face));
    }
    font.face = nullptr;
    font.size = nullptr;
    font.name.clear();
}

TextExtent measureSystemFontText(const SystemFont &font, const std::string &utf8Text)
{
    TextExtent extent;
    if (!font.face)
        return extent;
    const FT_Face face = sizedFace(font);
    extent.height = font.pixelHeight;
    for (char32_t codePoint : codePointsOf(utf8Text)) {
        if (isDrawn(codePoint) && loadGlyph(face, codePoint))
            extent.width += advanceOf(face);
    }
    return extent;
}

void drawSystemFontText(const SystemFont &font, const std::string &utf8Text, int x, int y, uint32_t textColour,
                        const TextBitmap &bitmap)
{
    if (!font.face || !bitmap.pixels)
        return;
    const FT_Face face = sizedFace(font);
    int penX = x;
    const int baselineY = y + font.baseline;
    for (char32_t codePoint : codePointsOf(utf8Text)) {
        if (!isDrawn(codePoint) || !renderGlyph(face, codePoint))
            continue;
        const FT_GlyphSlot glyph = face->glyph;
        blitGlyph(glyph->bitmap, penX + glyph->bitmap_left, baselineY - glyph->bitmap_top, textColour, bitmap);
        penX += advanceOf(face);
    }
}
