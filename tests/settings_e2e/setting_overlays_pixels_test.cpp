// The pause and the volume bar drawn into a real window and read back.
#include <gtest/gtest.h>

#include "app/app_context.h"
#include "gfx/render_frame.h"
#include "render/chart_setup.h"
#include "render/frame_capture.h"

namespace {

constexpr uint32_t Now = 2000000;

int grey(const Rgb &p) { return (p.r + p.g + p.b) / 3; }
bool isWhite(const Rgb &p) { return p.r >= 250 && p.g >= 250 && p.b >= 250; }

class SettingOverlays : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(openRenderWindow()) << "needs a display (run under xvfb-run)";
        resetAppContext();
        useClientSize(WindowWidth, WindowHeight);
        static const unsigned blockFont = makeBlockFont();
        gfx.fontTexture = blockFont;
    }

    void TearDown() override { resetAppContext(); }

    Capture draw(uint32_t nowMs)
    {
        drawFrame(FrameInput{nowMs, false});
        return captureFrame(WindowHeight);
    }
};

TEST_F(SettingOverlays, PauseDimsTheFieldAndSaysSo)
{
    showPlayScreen(Now);
    const Capture running = draw(Now);
    songPause.paused = 1;
    const Capture paused = draw(Now);
    saveScreenshot(paused, WindowWidth, "play_paused");
    // "PAUSE" centred, 32-pixel glyphs 40 pixels above the middle; the keys below the middle.
    EXPECT_TRUE(isWhite(paused.at(240 + 16, 200 + 16)));
    EXPECT_TRUE(isWhite(paused.at(320 - 11 * 10 + 5, 248 + 7)));
    // Away from the words the field is darker than in play.
    for (const auto &[x, y] : {std::pair{60, 100}, std::pair{320, 420}, std::pair{600, 300}}) {
        SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
        EXPECT_LT(grey(paused.at(x, y)), grey(running.at(x, y)) - 10);
    }
}

TEST_F(SettingOverlays, VolumeBarShowsForOneSecond)
{
    menu.state = Title;
    settings.musicVolume = 50;
    settings.volumeShown = VolumeShown::Music;
    settings.volumeChangeTime = Now;
    const Capture shown = draw(Now + 999);
    saveScreenshot(shown, WindowWidth, "volume_bar");
    EXPECT_TRUE(isWhite(shown.at(16, 14))) << "the label";
    EXPECT_GE(grey(shown.at(12 + 30, 31)), 220) << "filled up to half";
    EXPECT_LT(grey(shown.at(12 + 90, 31)), 120) << "empty beyond half, over a dark backing";

    const Capture gone = draw(Now + 1000);
    EXPECT_FALSE(isWhite(gone.at(16, 14)));
    EXPECT_LT(grey(gone.at(12 + 30, 31)), 200);
}

} // namespace
