#include <gtest/gtest.h>

#include <thread>
#include <vector>

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

TEST(FakeTimer, SleepsFromSeveralThreadsAllCount)
{
    fakeResetPlatform();
    std::vector<std::thread> sleepers;
    for (int t = 0; t < 4; t++)
        sleepers.emplace_back([] {
            for (int i = 0; i < 1000; i++)
                timerSleepMs(1);
        });
    for (std::thread &sleeper : sleepers)
        sleeper.join();
    EXPECT_EQ(timerNowMs(), 4000u);
}

} // namespace
