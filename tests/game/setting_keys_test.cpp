// The keys that change the player's settings, through the menus' frame as the main loop runs it.
#include <gtest/gtest.h>

#include "app/app_context.h"
#include "game/menus.h"
#include "platform/fake/fake_platform.h"
#include "platform/keys.h"
#include "platform/message_pump.h"

namespace {

constexpr int FrameMs = 16;

class SettingKeysTest : public ::testing::Test {
protected:
    uint32_t now = 10000;

    void SetUp() override
    {
        resetAppContext();
        fakeResetPlatform();
        now = 10000;
    }

    void frame()
    {
        fakeSetTimeMs(now);
        updateMenus();
        now += FrameMs;
    }

    // Taps the key, then lets frames run past the repeat gate.
    void tap(int key)
    {
        fakeTapKey(key);
        frame();
        for (int elapsed = 0; elapsed < 240; elapsed += FrameMs)
            frame();
    }
};

TEST_F(SettingKeysTest, VolumeKeysStepByFiveWithinTheRangeOnEveryScreen)
{
    struct Case {
        const char *name;
        GameState screen;
        int key;
        int presses;
        int musicBefore, toneBefore;
        int musicAfter, toneAfter;
        VolumeShown shown;
    };
    const Case cases[] = {
        {"minus lowers the music", Title, KeyMinus, 1, 100, 100, 95, 100, VolumeShown::Music},
        {"equals raises the music", Select, KeyEquals, 2, 50, 100, 60, 100, VolumeShown::Music},
        {"the music stops at 100", Result, KeyEquals, 3, 95, 100, 100, 100, VolumeShown::Music},
        {"left bracket lowers the tone", Play, KeyLeftBracket, 3, 100, 100, 100, 85, VolumeShown::Tone},
        {"the tone stops at 0", Title, KeyLeftBracket, 4, 100, 10, 100, 0, VolumeShown::Tone},
        {"right bracket raises the tone", Select, KeyRightBracket, 1, 100, 0, 100, 5, VolumeShown::Tone},
        {"at the end the bar still shows", Title, KeyRightBracket, 1, 100, 100, 100, 100, VolumeShown::Tone},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        menu.state.store(c.screen);
        settings.musicVolume.store(c.musicBefore);
        settings.toneVolume.store(c.toneBefore);
        for (int i = 0; i < c.presses; i++)
            tap(c.key);
        EXPECT_EQ(settings.musicVolume.load(), c.musicAfter);
        EXPECT_EQ(settings.toneVolume.load(), c.toneAfter);
        EXPECT_EQ(settings.volumeShown, c.shown);
        EXPECT_LT(now - settings.volumeChangeTime, 1000u) << "the bar is shown from the last press";
        EXPECT_EQ(menu.state.load(), c.screen) << "no screen reads the volume keys as its own";
    }
}

TEST_F(SettingKeysTest, VolumeKeyHeldRepeatsThroughTheMenuGate)
{
    fakeSetKeyDown(KeyMinus, true);
    for (int elapsed = 0; elapsed < 1000; elapsed += FrameMs)
        frame();
    fakeSetKeyDown(KeyMinus, false);
    frame();
    // Fires at once, then every 200 ms: 5 steps in a second of 16 ms frames.
    EXPECT_EQ(settings.musicVolume.load(), 75);
}

TEST_F(SettingKeysTest, ShiftZStepsTheScrollSpeedBack)
{
    menu.state.store(Select);
    fakeSetKeyDown(KeyShift, true);
    const double down[] = {4.0, 3.5, 3.0};
    for (double speed : down) {
        tap(KeyZ);
        EXPECT_DOUBLE_EQ(menu.scrollSpeed, speed);
    }
    fakeSetKeyDown(KeyShift, false);
    tap(KeyZ);
    EXPECT_DOUBLE_EQ(menu.scrollSpeed, 3.5) << "Z alone goes forward again";
}

TEST_F(SettingKeysTest, FullScreenTogglesOncePerPressOnEveryScreen)
{
    for (GameState screen : {Title, Select, Play, Result}) {
        SCOPED_TRACE(screen);
        SetUp();
        menu.state.store(screen);
        fakeSetKeyDown(KeyF11, true);
        for (int i = 0; i < 40; i++)
            frame();
        fakeSetKeyDown(KeyF11, false);
        frame();
        EXPECT_EQ(settings.fullScreen, 1) << "held, it switches once";
        EXPECT_TRUE(fakeWindow().fullScreen);

        fakeTapKey(KeyEnter);
        frame();
        EXPECT_EQ(settings.fullScreen, 1) << "Enter alone is not the full-screen key";

        fakeSetKeyDown(KeyAlt, true);
        fakeTapKey(KeyEnter);
        frame();
        fakeSetKeyDown(KeyAlt, false);
        frame();
        EXPECT_EQ(settings.fullScreen, 0);
        EXPECT_FALSE(fakeWindow().fullScreen);
    }
}

// The window's floor follows its size only as a window: back from full screen it must be free to
// return to the size it had.
TEST_F(SettingKeysTest, FullScreenSizeDoesNotBecomeTheWindowsFloor)
{
    WindowMessage size;
    size.kind = MessageKind::Size;
    size.width = 800;
    size.height = 600;
    fakePostWindowMessage(size);
    pumpWaitingMessages();
    EXPECT_EQ(fakeWindow().minimumWidth, 600);

    tap(KeyF11);
    size.width = 1920;
    size.height = 1080;
    fakePostWindowMessage(size);
    pumpWaitingMessages();
    EXPECT_EQ(window.clientWidth.load(), 1920) << "the field is laid out for the whole screen";
    EXPECT_EQ(fakeWindow().minimumWidth, 600);

    tap(KeyF11);
    size.width = 800;
    size.height = 600;
    fakePostWindowMessage(size);
    pumpWaitingMessages();
    EXPECT_EQ(window.clientWidth.load(), 800);
    EXPECT_EQ(fakeWindow().minimumWidth, 600);
}

} // namespace
