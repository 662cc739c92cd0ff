#include <gtest/gtest.h>

#include "platform/fake/fake_platform.h"
#include "platform/timer.h"

namespace {

TEST(FakeTimer, MovesOnlyWhenToldOrSleptAndWraps)
{
    fakeResetPlatform();
    EXPECT_EQ(timerNowMs(), 0u);
    fakeAdvanceTimeMs(250);
    timerSleepMs(5);
    EXPECT_EQ(timerNowMs(), 255u);
    fakeSetTimeMs(0xFFFFFFFEu);
    timerSleepMs(3);
    EXPECT_EQ(timerNowMs(), 1u);
}

} // namespace
