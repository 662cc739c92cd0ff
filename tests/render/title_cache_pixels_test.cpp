// A library far larger than the titles kept made, browsed on the select screen in whole frames:
// every title shown is made for the frame that shows it, while only the most recently drawn few
// hold a texture and each font face is open once.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <set>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "frame_capture.h"
#include "gfx/render_frame.h"
#include "gfx/title_cache.h"
#include "gfx/title_pixels.h"
#include "gfx/title_textures.h"
#include "images/mapped_fonts.h"
#include "library/song_list.h"
#include "rules/control_layout.h"
#include "support/scratch_folder.h"

namespace {

constexpr uint32_t Now = 2000000;
constexpr int Songs = 1000;
constexpr int Browsed = 120; // frames are slow to draw in software; far more titles than are kept

// Every tenth title Japanese in Shift-JIS, so that the library needs two faces.
std::string titleOf(int i)
{
    return i % 10 == 9 ? "\x83\x65\x83\x58\x83\x67 " + std::to_string(i) : "Song " + std::to_string(i);
}

void writeLibrary(const ScratchFolder &folder)
{
    std::string list;
    for (int i = 0; i < Songs; i++) {
        const std::string name = "song" + std::to_string(i) + ".txt";
        list += name + "\n";
        folder.write(name, "TITLE:" + titleOf(i) + "\nLEVEL:3\nWAVE:song.ogg\nBPM:120\n#START\n4c 4e ,\n#END\n");
    }
    folder.write("songlist.txt", list);
}

std::vector<uint8_t> texturePixels(unsigned texture)
{
    GLint width = 0, height = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    std::vector<uint8_t> pixels(size_t(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (!pixels.empty())
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// The title's picture as the title font draws its text.
std::vector<uint8_t> drawnPixels(const TitleTexture &title)
{
    TitleTexture copy;
    copy.text = title.text;
    copy.fontSize = title.fontSize;
    layOutTitle(copy);
    drawTitlePixels(copy);
    closeSystemFont(copy.font);
    return copy.pixels;
}

size_t madeCount()
{
    size_t made = 0;
    for (const TitleTexture &title : catalogue.titleTextures)
        made += title.texture != 0;
    return made;
}

// The rows around the title picture, which sits centred 80 pixels below the top.
std::vector<uint8_t> titleBand(const Capture &capture)
{
    std::vector<uint8_t> band;
    for (int y = 60; y < 100; y++)
        for (int x = 160; x < 480; x++)
            for (int channel : {capture.at(x, y).r, capture.at(x, y).g, capture.at(x, y).b})
                band.push_back(uint8_t(channel));
    return band;
}

class TitleCache : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(openRenderWindow()) << "needs a display (run under xvfb-run)";
        resetAppContext();
        resetControlLayout();
        static const unsigned font = makeBlockFont();
        static const unsigned icons = makeIconStrip();
        gfx.fontTexture = font;
        gfx.waveTexture = icons;
        menu.state = Select;
        writeLibrary(folder);
        readSongList(folder.path, catalogue);
    }

    void TearDown() override
    {
        for (TitleTexture &title : catalogue.titleTextures)
            releaseTitleTexture(title);
        resetAppContext();
    }

    void show(int index)
    {
        menu.selectedSong = uint16_t(index);
        drawFrame(FrameInput{Now, false});
    }

    ScratchFolder folder;
};

} // namespace

TEST_F(TitleCache, BrowsingAThousandSongsKeepsTheLastTitlesMade)
{
    ASSERT_EQ(catalogue.titleTextures.size(), size_t(Songs));
    std::vector<uint8_t> previousBand;
    for (int i = 0; i < Browsed; i++) {
        show(i);
        const TitleTexture &shown = catalogue.titleTextures[i];
        ASSERT_NE(shown.texture, 0u) << i;
        ASSERT_LE(madeCount(), MadeTitleLimit) << i;
        // The frame shows the title made for it: the one of the entry before looked different.
        const std::vector<uint8_t> band = titleBand(captureFrame(WindowHeight));
        EXPECT_NE(band, previousBand) << i;
        previousBand = band;
        if (i % 10 == 0 || i % 10 == 9) {
            EXPECT_EQ(texturePixels(shown.texture), drawnPixels(shown)) << i;
        }
    }
    show(Songs - 1);
    EXPECT_EQ(texturePixels(catalogue.titleTextures[Songs - 1].texture),
              drawnPixels(catalogue.titleTextures[Songs - 1]));
    EXPECT_EQ(madeCount(), MadeTitleLimit);
    std::set<std::string> faces;
    for (const TitleTexture &title : catalogue.titleTextures)
        if (title.texture != 0)
            faces.insert(title.font.name);
    EXPECT_EQ(faces.size(), 2u);
    EXPECT_EQ(mappedFontFiles(), 2);

    // A recent title is drawn again as it is; an early one was given back and is made anew.
    const TitleTexture &recent = catalogue.titleTextures[Browsed - 20];
    const unsigned recentTexture = recent.texture;
    show(Browsed - 20);
    EXPECT_EQ(recent.texture, recentTexture);
    const TitleTexture &first = catalogue.titleTextures[0];
    EXPECT_EQ(first.texture, 0u);
    EXPECT_TRUE(first.pixels.empty());
    EXPECT_EQ(first.font.face, nullptr);
    show(0);
    ASSERT_NE(first.texture, 0u);
    EXPECT_EQ(texturePixels(first.texture), drawnPixels(first));
    EXPECT_EQ(madeCount(), MadeTitleLimit);
    // The least recently drawn went to make room: the oldest of the browsed titles still made.
    EXPECT_EQ(catalogue.titleTextures[Browsed - MadeTitleLimit + 1].texture, 0u);
    EXPECT_NE(catalogue.titleTextures[Browsed - MadeTitleLimit + 2].texture, 0u);

    // What shutdown does gives back every texture and face.
    std::vector<unsigned> textures;
    for (TitleTexture &title : catalogue.titleTextures) {
        if (title.texture != 0)
            textures.push_back(title.texture);
        releaseTitleTexture(title);
    }
    for (unsigned texture : textures)
        EXPECT_FALSE(glIsTexture(texture)) << texture;
    EXPECT_EQ(mappedFontFiles(), 0);
}
