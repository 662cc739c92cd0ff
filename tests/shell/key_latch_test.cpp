#include <gtest/gtest.h>

#include <string>

#include "platform/core/key_latch.h"
#include "platform/fake/fake_platform.h"
#include "platform/keys.h"

namespace {

// A script of events and polls for one key: 'd' key down, 'u' key up, 'p' poll. The expected
// string holds one character per poll: '1' down, '0' up.
struct LatchCase {
    const char *name;
    const char *script;
    const char *expectedPolls;
};

TEST(KeyLatch, TapsAreSeenByExactlyOnePoll)
{
    const LatchCase cases[] = {
        {"never pressed", "ppp", "000"},
        {"held across polls", "dpppup", "1110"},
        {"tap between polls", "pdupp", "010"},
        {"two taps between polls count once", "dudupp", "10"},
        {"release then quick re-press", "dpudpp", "111"},
        {"release and tap before the next poll", "dpudupp", "110"},
        {"released right after a poll", "dpupp", "100"},
        {"up without down", "upp", "00"},
    };
    for (const LatchCase &c : cases) {
        SCOPED_TRACE(c.name);
        KeyLatch latch;
        std::string polls;
        for (const char *step = c.script; *step != '\0'; step++) {
            if (*step == 'd')
                keyLatchPress(latch, KeySpace);
            else if (*step == 'u')
                keyLatchRelease(latch, KeySpace);
            else
                polls += keyLatchPoll(latch, KeySpace) == KeyDownBit ? '1' : '0';
        }
        EXPECT_EQ(polls, c.expectedPolls);
    }
}

TEST(KeyLatch, KeysAreIndependentAndOutOfRangeCodesAreUp)
{
    KeyLatch latch;
    keyLatchPress(latch, KeyW);
    EXPECT_EQ(keyLatchPoll(latch, KeyE), 0);
    EXPECT_EQ(keyLatchPoll(latch, KeyW), KeyDownBit);
    keyLatchPress(latch, -1);
    keyLatchPress(latch, 4096);
    EXPECT_EQ(keyLatchPoll(latch, -1), 0);
    EXPECT_EQ(keyLatchPoll(latch, 4096), 0);
}

TEST(KeyLatch, ReleaseAllKeepsAPendingTap)
{
    KeyLatch latch;
    keyLatchPress(latch, KeyZ);
    keyLatchPress(latch, KeyLeft);
    keyLatchPoll(latch, KeyLeft);
    keyLatchReleaseAll(latch);
    EXPECT_EQ(keyLatchPoll(latch, KeyZ), KeyDownBit);
    EXPECT_EQ(keyLatchPoll(latch, KeyZ), 0);
    EXPECT_EQ(keyLatchPoll(latch, KeyLeft), 0);
}

TEST(KeyLatch, FakeBackendReadsThroughTheLatch)
{
    fakeResetPlatform();
    fakeTapKey(KeyEscape);
    EXPECT_TRUE(keyIsDown(KeyEscape));
    EXPECT_FALSE(keyIsDown(KeyEscape));
    fakeSetKeyDown(KeyRight, true);
    EXPECT_TRUE(keyIsDown(KeyRight));
    EXPECT_TRUE(keyIsDown(KeyRight));
    fakeSetKeyDown(KeyRight, false);
    EXPECT_FALSE(keyIsDown(KeyRight));
    fakeSetKeyDown(KeyUp, true);
    fakeResetPlatform();
    EXPECT_FALSE(keyIsDown(KeyUp));
}

} // namespace
