#include <gtest/gtest.h>

#include "app/app_context.h"
#include "app/window_procedure.h"
#include "platform/fake/fake_platform.h"
#include "rules/control_layout.h"
#include "rules/voice_gain.h"

namespace {

void send(MessageKind kind, int a = 0, int b = 0)
{
    WindowMessage message;
    message.kind = kind;
    message.width = message.x = a;
    message.height = message.y = b;
    windowProcedure(message);
}

void startFresh()
{
    resetAppContext();
    fakeResetPlatform();
}

struct GainCase {
    int y, clientHeight, unison;
    double expected;
};

TEST(WindowProcedure, VoiceGainBands)
{
    const GainCase cases[] = {
        {0, 480, 0, 1.0},
        {349, 480, 0, 1.0}, // t = trunc(480 * 35/48) = 350
        {350, 480, 0, 1.0}, // exactly at t: still full
        {351, 480, 0, 1.0 - 1.0 / 130},
        {415, 480, 0, 0.5},
        {479, 480, 0, 1.0 / 130}, // bottom row: nearly silent
        {480, 480, 0, 0.0},
        {600, 480, 0, 0.0},     // never negative
        {100, 480, 1, 1.0 / 3}, // unison shares the loudness among three voices
        {415, 480, 1, 0.5 / 3},
        {437, 600, 0, 1.0}, // t = trunc(437.5) = 437
        {599, 600, 0, 1.0 / 163},
        {0, 0, 0, 0.0}, // no client area: silent, not a division by zero
    };
    for (const GainCase &c : cases) {
        SCOPED_TRACE(testing::Message() << "y " << c.y << " height " << c.clientHeight << " unison " << c.unison);
        EXPECT_NEAR(voiceGainForPointer(c.y, c.clientHeight, c.unison), c.expected, 1e-12);
    }
}

struct HoverCase {
    int width, height, x, y;
    int expectedControl;
};

TEST(WindowProcedure, HoverTestAtStartSizeAndAfterResize)
{
    const HoverCase cases[] = {
        // 640 x 480: centres (48,96) (592,96) (560,315) (576,458.4) (608,315); half sizes 16, control 4 is 32 wide.
        {640, 480, 48, 96, 1},
        {640, 480, 592, 96, 2},
        {640, 480, 560, 315, 3},
        {640, 480, 576, 458, 4},
        {640, 480, 608, 315, 5},
        {640, 480, 33, 96, 1},
        {640, 480, 32, 96, 0},
        {640, 480, 63, 96, 1},
        {640, 480, 64, 96, 0},
        {640, 480, 48, 80, 0},
        {640, 480, 48, 81, 1},
        {640, 480, 48, 111, 1},
        {640, 480, 48, 112, 0},
        {640, 480, 545, 458, 4},
        {640, 480, 544, 458, 0},
        {640, 480, 576, 443, 4},
        {640, 480, 576, 442, 0},
        {640, 480, 320, 240, 0},
        {640, 480, 0, 0, 0},
        // 1000 x 500 (aspect 0.5): centres (75,150) (925,150) (875,328.125) (900,477.5) (950,328.125).
        {1000, 500, 75, 150, 1},
        {1000, 500, 925, 150, 2},
        {1000, 500, 875, 328, 3},
        {1000, 500, 900, 477, 4},
        {1000, 500, 950, 328, 5},
        {1000, 500, 75, 96, 0},
        {1000, 500, 851, 477, 4},
        {1000, 500, 850, 477, 0},
        // 641 x 481: centres start from the integer halves 320 and 240, not 320.5 and 240.5.
        {641, 481, 63, 96, 1},
        {641, 481, 64, 96, 0},
        {641, 481, 48, 111, 1},
        {641, 481, 48, 112, 0},
        // 1920 x 240 (aspect 0.125): controls 3, 4 and 5 overlap; centres (1680,157.5) (1728,229.2)
        // (1824,157.5). Where two meet, the later one is hovered.
        {1920, 240, 1680, 160, 3},
        {1920, 240, 1728, 229, 4},
        {1920, 240, 1680, 192, 4},
        {1920, 240, 1800, 192, 5},
        {1920, 240, 1824, 150, 5},
    };
    for (const HoverCase &c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " at " << c.x << "," << c.y);
        startFresh();
        send(MessageKind::Size, c.width, c.height);
        send(MessageKind::MouseMove, c.x, c.y);
        EXPECT_EQ(window.hoverControl, c.expectedControl);
    }
}

TEST(WindowProcedure, ResizeSetsSizeAspectMarginLayoutAndMinimum)
{
    startFresh();
    send(MessageKind::Size, 1000, 500);
    EXPECT_EQ(window.clientWidth.load(), 1000);
    EXPECT_EQ(window.clientHeight.load(), 500);
    EXPECT_DOUBLE_EQ(window.aspect, 0.5);
    EXPECT_EQ(window.fieldMargin.load(), 20);
    EXPECT_DOUBLE_EQ(window.controls[0].centreY, 0.2);
    EXPECT_DOUBLE_EQ(window.controls[3].centreY, -0.455);
    EXPECT_EQ(fakeWindow().minimumWidth, 500);
    EXPECT_EQ(fakeWindow().minimumHeight, 240);
}

TEST(WindowProcedure, MinimisedSizeChangesNothing)
{
    startFresh();
    send(MessageKind::Size, 0, 0);
    send(MessageKind::Size, 0, 480);
    EXPECT_EQ(window.clientWidth.load(), 640);
    EXPECT_EQ(window.clientHeight.load(), 480);
    EXPECT_DOUBLE_EQ(window.aspect, 0.75);
    EXPECT_EQ(window.fieldMargin.load(), 40);
    EXPECT_EQ(fakeWindow().minimumWidth, 0);
}

TEST(WindowProcedure, PointerFollowsTheMouseUnlessAutoplay)
{
    startFresh();
    menu.unison = 1;
    send(MessageKind::MouseMove, 200, 415);
    EXPECT_EQ(window.pointerX.load(), 200.0);
    EXPECT_EQ(window.pointerY, 415.0);
    EXPECT_DOUBLE_EQ(window.voiceGain.load(), 0.5 / 3);

    menu.autoplay = 1;
    send(MessageKind::MouseMove, 48, 96);
    EXPECT_EQ(window.pointerX.load(), 200.0);
    EXPECT_EQ(window.pointerY, 415.0);
    EXPECT_DOUBLE_EQ(window.voiceGain.load(), 0.5 / 3);
    EXPECT_EQ(window.hoverControl, 1);
}

TEST(WindowProcedure, CoordinatesAreUnsigned16Bit)
{
    startFresh();
    send(MessageKind::MouseMove, 0x10000 + 48, 0x20000 + 96);
    EXPECT_EQ(window.pointerX.load(), 48.0);
    EXPECT_EQ(window.hoverControl, 1);
}

TEST(WindowProcedure, LeftButtonPressesTheHoveredControl)
{
    struct ButtonCase {
        int x, y, expectedCode;
    };
    const ButtonCase cases[] = {
        {48, 96, 2}, {592, 96, 4}, {560, 315, 8}, {576, 458, 7}, {608, 315, 9},
    };
    for (const ButtonCase &c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        startFresh();
        send(MessageKind::MouseMove, c.x, c.y);
        send(MessageKind::LeftButtonDown);
        EXPECT_EQ(window.controlCode, c.expectedCode);
        // Moving off while held keeps the code until the release, which clears it anywhere.
        send(MessageKind::MouseMove, 320, 240);
        send(MessageKind::LeftButtonDown);
        EXPECT_EQ(window.controlCode, c.expectedCode);
        send(MessageKind::LeftButtonUp);
        EXPECT_EQ(window.controlCode, 0);
    }
}

TEST(WindowProcedure, DestroyRequestsTheQuit)
{
    startFresh();
    send(MessageKind::Destroy);
    EXPECT_EQ(shell.quitRequested, 1);
}

} // namespace
