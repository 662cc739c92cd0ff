#include <gtest/gtest.h>

#include <string>

#include "platform/core/key_latch.h"
#include "platform/fake/fake_platform.h"
#include "platform/keys.h"

namespace {

// A script of events and polls for one key: 'd' key down, 'u' key up, 'r' release of every key
// (focus lost), 'f' end of a frame, 'p' poll. The expected string holds one character per poll:
// '1' down, '0' up.
struct LatchCase {
    const char *name;
    const char *script;
    const char *expectedPolls;
};

TEST(KeyLatch, TapsAreSeenByExactlyOnePollOfTheirFrame)
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
        {"held key stays down across frames", "dfpfpfp", "111"},
        {"tap no poll read is gone after its frame", "dufp", "0"},
        {"press not yet polled, released in a later frame", "dfufp", "0"},
        {"tap read in its frame", "dupfp", "10"},
        {"tap of the next frame", "fdupp", "10"},
        {"focus lost lets go of a held key", "dprpp", "100"},
        {"focus lost keeps this frame's tap for one poll", "durpp", "10"},
        {"focus lost: the frame end drops the tap", "durfp", "0"},
    };
    for (const LatchCase &c : cases) {
        SCOPED_TRACE(c.name);
        KeyLatch latch;
        std::string polls;
        for (const char *step = c.script; *step != '\0'; step++) {
            switch (*step) {
            case 'd':
                keyLatchPress(latch, KeySpace);
                break;
            case 'u':
                keyLatchRelease(latch, KeySpace);
                break;
            case 'r':
                keyLatchReleaseAll(latch);
                break;
            case 'f':
                keyLatchEndFrame(latch);
                break;
            default:
                polls += keyLatchPoll(latch, KeySpace) == KeyDownBit ? '1' : '0';
            }
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

TEST(KeyLatch, FakeBackendReadsThroughTheLatch)
{
    fakeResetPlatform();
    fakeTapKey(KeyEscape);
    EXPECT_TRUE(keyIsDown(KeyEscape));
    EXPECT_FALSE(keyIsDown(KeyEscape));
    fakeTapKey(KeyEscape);
    keysEndFrame();
    EXPECT_FALSE(keyIsDown(KeyEscape));
    fakeSetKeyDown(KeyRight, true);
    EXPECT_TRUE(keyIsDown(KeyRight));
    keysEndFrame();
    EXPECT_TRUE(keyIsDown(KeyRight));
    fakeSetKeyDown(KeyRight, false);
    EXPECT_FALSE(keyIsDown(KeyRight));
    fakeSetKeyDown(KeyUp, true);
    fakeTapKey(KeyZ);
    fakeResetPlatform();
    EXPECT_FALSE(keyIsDown(KeyUp));
    EXPECT_FALSE(keyIsDown(KeyZ));
}

TEST(KeyLatch, SomeKeyWentDownHearsEveryKeyOnceAFrame)
{
    const struct {
        const char *name;
        void (*events)(KeyLatch &);
        bool heard;
    } cases[] = {
        {"nothing", [](KeyLatch &) {}, false},
        {"a key with no code", [](KeyLatch &l) { keyLatchPressOther(l); }, true},
        {"a key the game polls", [](KeyLatch &l) { keyLatchPress(l, KeyZ); }, true},
        {"a release alone", [](KeyLatch &l) { keyLatchRelease(l, KeyZ); }, false},
        {"a press of the frame before", [](KeyLatch &l) { keyLatchPressOther(l), keyLatchEndFrame(l); }, false},
        {"a press after the frame end", [](KeyLatch &l) { keyLatchEndFrame(l), keyLatchPressOther(l); }, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        KeyLatch latch;
        c.events(latch);
        EXPECT_EQ(keyLatchTakeAnyPress(latch), c.heard);
        EXPECT_FALSE(keyLatchTakeAnyPress(latch)) << "read once";
    }
    fakeResetPlatform();
    fakePressOtherKey();
    EXPECT_TRUE(keyAnyPressed());
    EXPECT_FALSE(keyAnyPressed());
    fakeTapKey(KeyUp);
    keysEndFrame();
    EXPECT_FALSE(keyAnyPressed());
}

TEST(KeyLatch, DownMeansABitAboveTheLowestFour)
{
    const struct {
        uint16_t state;
        bool down;
    } cases[] = {{0x0000, false}, {0x0001, false}, {0x000F, false}, {0x0010, true}, {0x8000, true}, {0xFFFF, true}};
    for (const auto &c : cases)
        EXPECT_EQ(keyStateIsDown(c.state), c.down) << std::hex << c.state;
}

} // namespace
