// Voice mode on screen, drawn into a real window: the select screen's line when no microphone
// opened, the level meter on the play screen's light header and the sung trail over the field.
// The frames are saved under build/screenshots/ to be looked at.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "app/app_context.h"
#include "chart_setup.h"
#include "frame_capture.h"
#include "gfx/frame_context.h"
#include "gfx/render_frame.h"
#include "gfx/screen_texts.h"
#include "gfx/title_cache.h"
#include "rules/voice_mode_state.h"
#include "rules/voice_pitch.h"

namespace {

constexpr uint32_t Now = 2000000;

int brightness(const Rgb &p) { return (p.r + p.g + p.b) / 3; }

// How far apart two colours look: the largest difference of a channel.
int contrast(const Rgb &a, const Rgb &b)
{
    return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

// How strongly coloured a pixel is: 0 for the field's greys and whites.
int chroma(const Rgb &p) { return std::max({p.r, p.g, p.b}) - std::min({p.r, p.g, p.b}); }

class VoicePixels : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(openRenderWindow()) << "needs a display (run under xvfb-run)";
        resetAppContext();
        useClientSize(WindowWidth, WindowHeight);
        voiceMode.input = InputVoice;
        voiceMode.gateDb = -35.0;
    }

    void TearDown() override
    {
        voiceMode.input = InputMouse;
        voiceMode.captureOpen = 0;
        voiceMode.levelDb = -120.0;
        voiceMode.trail[0] = VoiceTrailPoint{};
        resetAppContext();
    }

    Capture render(const std::string &name) { return drawCheckedFrame(Now, name); }

    static ScreenTextLayout texts()
    {
        FrameContext f;
        f.nowMs = Now;
        f.state = menu.state;
        f.metrics = fieldMetrics(WindowWidth, WindowHeight, window.fieldMargin, window.aspect);
        ScreenTextLayout layout;
        layoutScreenTexts(f, layout);
        return layout;
    }

    static const TextRow *row(const ScreenTextLayout &layout, const std::string &text)
    {
        for (int i = 0; i < layout.rowCount; i++) {
            if (std::string(layout.rows[i].text, layout.rows[i].length) == text)
                return &layout.rows[i];
        }
        return nullptr;
    }

    static void addSong()
    {
        SongEntry song;
        song.fileName = "glass.txt";
        song.title = "Glass Harbor";
        song.level = 3;
        catalogue.songs.push_back(song);
        TitleTexture picture;
        picture.text = song.title;
        picture.fontSize = 18;
        catalogue.titleTextures.push_back(picture);
        catalogue.songCount = 1;
        titleToDraw(catalogue, 0);
    }

    // Client pixel of a view point (view units are half the client width, y up).
    static int pixelX(double viewX) { return int(viewX * WindowWidth / 2 + WindowWidth / 2); }
    static int pixelY(double viewY) { return int(-viewY * WindowWidth / 2 + WindowHeight / 2); }
};

const char *const NoMicrophone = "NO MICROPHONE - PLAYING WITH THE MOUSE";

} // namespace

TEST_F(VoicePixels, SelectSaysUnderTheIconsWhenVoiceModeHasNoMicrophone)
{
    menu.state = Select;
    addSong();
    voiceMode.captureOpen = 0;
    const Capture capture = render("voice_select_no_microphone");
    const ScreenTextLayout layout = texts();
    const TextRow *line = row(layout, NoMicrophone);
    ASSERT_NE(line, nullptr);
    // Whole in the window, under the key rows, above the judgement line and left of the icons.
    const FieldMetrics m = fieldMetrics(WindowWidth, WindowHeight, window.fieldMargin, window.aspect);
    const ScreenControl &wave = window.controls[ControlWaveType - 1];
    const TextRow *autoplay = &layout.rows[0];
    for (int i = 0; i < layout.rowCount; i++) {
        if (std::string(layout.rows[i].text, layout.rows[i].length).find("AUTOPLAY") != std::string::npos)
            autoplay = &layout.rows[i];
    }
    EXPECT_GE(line->x, 0);
    EXPECT_GE(line->y, autoplay->y + autoplay->glyphHeight);
    EXPECT_LT(line->y + line->glyphHeight, pixelY(m.judgeLineY));
    EXPECT_LT(line->x + line->length * line->advance, pixelX(wave.centreX - wave.halfWidth));
    // Drawn in a warm warning colour: red high, blue low.
    for (const int dx : {1, line->advance - 2}) {
        const Rgb p = capture.at(line->x + dx, line->y + line->glyphHeight / 2);
        EXPECT_GE(p.r, 230) << dx;
        EXPECT_LT(p.b, 150) << dx;
    }

    for (const int input : {InputMouse, InputVoice}) {
        voiceMode.input = input;
        voiceMode.captureOpen = input == InputVoice ? 1 : 0;
        EXPECT_EQ(row(texts(), NoMicrophone), nullptr) << "with a microphone, or with the mouse chosen";
    }
}

TEST_F(VoicePixels, LevelMeterStandsOutOnTheLightHeaderAndTheTrailOnTheField)
{
    addSong();
    showPlayScreen(Now);
    voiceMode.captureOpen = 1;
    // The icons have risen to the header, as after the lead-in.
    for (const int control : {ControlWaveType, ControlUnison})
        window.controls[control - 1].centreY = 0.9 * window.aspect;
    voiceMode.levelDb = -20.0;
    // Two seconds sung on one pitch: a trail straight up from the judgement line.
    const double sungPitch = 3.0;
    for (int i = 0; i < 60; i++)
        voiceMode.trail[i] = VoiceTrailPoint{Now - 1800 + uint32_t(i) * 30, sungPitch};
    voiceMode.trailNext = 60;
    window.pointerX = pointerXForPitch(-6.0, WindowWidth, window.fieldMargin, 4);
    const Capture capture = render("voice_play_meter_trail");

    const ScreenControl &unison = window.controls[ControlUnison - 1];
    const double meterTop = unison.centreY - unison.halfHeight * 1.2;
    const double meterBottom = meterTop - unison.halfHeight * 0.3;
    const int meterY = (pixelY(meterTop) + pixelY(meterBottom)) / 2;
    const int levelX = pixelX(unison.centreX - unison.halfWidth * 0.8); // inside the lit level
    const int emptyX = pixelX(unison.centreX + unison.halfWidth * 0.8); // past the level, inside the frame
    const ScreenControl &wave = window.controls[ControlWaveType - 1];
    const Rgb header = capture.at(pixelX(wave.centreX - wave.halfWidth) - 10, pixelY(meterTop));
    const Rgb lit = capture.at(levelX, meterY);
    const Rgb empty = capture.at(emptyX, meterY);
    EXPECT_GE(contrast(lit, header), 100) << "the lit level against the header " << brightness(header);
    EXPECT_GE(contrast(empty, header), 100) << "the meter's empty part against the header";
    EXPECT_GE(contrast(empty, lit), 100) << "the empty part is told from the lit one";

    // The trail, a little above the judgement line, against the field beside it and against the
    // pointer band, which the mouse's pointer leaves at another pitch.
    const FieldMetrics m = fieldMetrics(WindowWidth, WindowHeight, window.fieldMargin, window.aspect);
    const int trailX = int(pointerXForPitch(sungPitch, m.width, m.fieldMargin, 4));
    const int trailY = pixelY(m.judgeLineY) - 20;
    const Rgb field = capture.at(trailX + 40, trailY);
    const Rgb band = capture.at(int(window.pointerX.load()), trailY);
    EXPECT_GE(contrast(band, field), 20) << "the band is where the pointer is";
    int againstField = 0, againstBand = 0, colourfulness = 0;
    for (int dx = -1; dx <= 1; dx++) {
        const Rgb trail = capture.at(trailX + dx, trailY);
        againstField = std::max(againstField, contrast(trail, field));
        againstBand = std::max(againstBand, contrast(trail, band));
        colourfulness = std::max(colourfulness, chroma(trail));
    }
    EXPECT_GE(colourfulness, 150) << "a strong colour amid the field's greys and whites";
    EXPECT_GE(againstField, 100) << "the trail stands out from the field";
    EXPECT_GE(againstBand, 100) << "the trail is not taken for the pointer band";
}
