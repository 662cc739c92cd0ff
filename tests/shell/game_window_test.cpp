#include <gtest/gtest.h>

#include "app/app_context.h"
#include "app/game_window.h"
#include "platform/fake/fake_platform.h"

namespace {

TEST(GameWindow, OpensShownWithItsSmallestSizeAndPacingFlag)
{
    for (const bool swapIntervalAccepted : {false, true}) {
        SCOPED_TRACE(swapIntervalAccepted ? "swap interval 0 accepted" : "no swap control");
        resetAppContext();
        fakeResetPlatform();
        fakeSetSwapIntervalAccepted(swapIntervalAccepted);
        ASSERT_TRUE(openGameWindow());
        EXPECT_TRUE(fakeWindow().shown);
        // Dragging cannot make the window narrower than its client height before any resize either.
        EXPECT_EQ(fakeWindow().minimumWidth, 480);
        EXPECT_EQ(fakeWindow().minimumHeight, 240);
        EXPECT_EQ(shell.swapControlMissing, swapIntervalAccepted ? 0 : 1);
    }
}

} // namespace
