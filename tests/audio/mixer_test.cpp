#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <deque>
#include <utility>
#include <vector>

#include "audio_test_support.h"
#include "platform/pcm.h"

namespace {

// A buffer of `frames` frames, every sample `value`.
struct TestBuffer {
    std::vector<uint8_t> bytes;
    PcmBuffer buffer;

    TestBuffer(int frames, int channels, int16_t value, uintptr_t user) : bytes(size_t(frames) * channels * 2)
    {
        for (size_t i = 0; i < bytes.size() / 2; i++)
            std::memcpy(bytes.data() + 2 * i, &value, 2);
        buffer.data = bytes.data();
        buffer.length = uint32_t(bytes.size());
        buffer.user = user;
    }
};

std::vector<uintptr_t> takeNotices(PcmDevice device)
{
    std::vector<uintptr_t> users;
    PcmDevice from = 0;
    uintptr_t user = 0;
    while (pcmTakeWindowNotice(&from, &user)) {
        EXPECT_EQ(from, device);
        users.push_back(user);
    }
    return users;
}

class Mixer : public ::testing::Test {
protected:
    void SetUp() override { startTestOutput(); }
    void TearDown() override
    {
        for (PcmDevice device : opened)
            pcmClose(device);
    }
    PcmDevice open(PcmFormat format, PcmDoneCallback callback = nullptr, void *instance = nullptr)
    {
        PcmDevice device = 0;
        EXPECT_EQ(pcmOpen(&device, format, callback, instance), PcmOk);
        opened.push_back(device);
        return device;
    }
    // Kept until after TearDown: a device still holds the buffers queued when the test ends.
    TestBuffer &testBuffer(int frames, int channels, int16_t value, uintptr_t user)
    {
        return buffers.emplace_back(frames, channels, value, user);
    }
    std::vector<PcmDevice> opened;
    std::deque<TestBuffer> buffers;
};

TEST_F(Mixer, PlaysBuffersInQueueOrderAndReturnsEachOnceItsLastFrameIsMixed)
{
    const PcmDevice device = open({1, 44100});
    TestBuffer &first = testBuffer(100, 1, 1000, 11);
    TestBuffer &second = testBuffer(50, 1, -2000, 22);
    ASSERT_EQ(pcmWrite(device, &first.buffer), PcmOk);
    ASSERT_EQ(pcmWrite(device, &second.buffer), PcmOk);
    EXPECT_EQ(pcmWrite(device, &first.buffer), PcmErrorStillPlaying);

    std::vector<int16_t> out = pullFrames(120);
    EXPECT_EQ(out[0], 1000); // mono plays on both sides
    EXPECT_EQ(out[1], 1000);
    EXPECT_EQ(out[2 * 99], 1000);
    EXPECT_EQ(out[2 * 100], -2000);
    EXPECT_EQ(out[2 * 119 + 1], -2000);
    EXPECT_EQ(takeNotices(device), std::vector<uintptr_t>{11});
    EXPECT_EQ(first.buffer.queued.load(), 0);
    EXPECT_EQ(second.buffer.queued.load(), 1);

    out = pullFrames(100);
    EXPECT_EQ(out[2 * 29], -2000);
    EXPECT_EQ(out[2 * 30], 0); // the queue ran dry: silence
    EXPECT_EQ(takeNotices(device), std::vector<uintptr_t>{22});
    EXPECT_EQ(pcmPositionFrames(device), 150u);
}

TEST_F(Mixer, EmptyBuffersComeBackInTheirTurn)
{
    const PcmDevice device = open({2, 44100});
    TestBuffer &sound = testBuffer(10, 2, 5, 1);
    TestBuffer &empty = testBuffer(0, 2, 0, 2);
    TestBuffer &more = testBuffer(10, 2, 7, 3);
    pcmWrite(device, &sound.buffer);
    pcmWrite(device, &empty.buffer);
    pcmWrite(device, &more.buffer);
    pullFrames(5);
    EXPECT_TRUE(takeNotices(device).empty());
    pullFrames(5);
    EXPECT_EQ(takeNotices(device), (std::vector<uintptr_t>{1, 2}));
    pullFrames(10);
    EXPECT_EQ(takeNotices(device), std::vector<uintptr_t>{3});
}

TEST_F(Mixer, CallbackDevicesGetTheirNoticesDirectlyAndNothingReachesTheWindowQueue)
{
    std::vector<PcmBuffer *> returned;
    const PcmDevice device = open(
        {2, 44100},
        [](void *instance, PcmBuffer *buffer) { static_cast<std::vector<PcmBuffer *> *>(instance)->push_back(buffer); },
        &returned);
    TestBuffer &a = testBuffer(64, 2, 1, 0);
    TestBuffer &b = testBuffer(64, 2, 2, 0);
    pcmWrite(device, &a.buffer);
    pcmWrite(device, &b.buffer);
    pullFrames(200);
    EXPECT_EQ(returned, (std::vector<PcmBuffer *>{&a.buffer, &b.buffer}));
    PcmDevice from = 0;
    uintptr_t user = 0;
    EXPECT_FALSE(pcmTakeWindowNotice(&from, &user));
}

TEST_F(Mixer, ResetReturnsEveryQueuedBufferInOrderAndRestartsThePosition)
{
    const PcmDevice device = open({1, 44100});
    TestBuffer &a = testBuffer(100, 1, 100, 1);
    TestBuffer &b = testBuffer(100, 1, 200, 2);
    TestBuffer &c = testBuffer(100, 1, 300, 3);
    for (TestBuffer *t : {&a, &b, &c})
        pcmWrite(device, &t->buffer);
    pullFrames(150);
    EXPECT_EQ(takeNotices(device), std::vector<uintptr_t>{1});
    EXPECT_EQ(pcmPositionFrames(device), 150u);

    pcmReset(device);
    EXPECT_EQ(takeNotices(device), (std::vector<uintptr_t>{2, 3}));
    for (TestBuffer *t : {&a, &b, &c})
        EXPECT_EQ(t->buffer.queued.load(), 0);
    EXPECT_EQ(pcmPositionFrames(device), 0u);
    std::vector<int16_t> out = pullFrames(10);
    EXPECT_EQ(out[0], 0);

    pcmWrite(device, &a.buffer);
    pullFrames(40);
    EXPECT_EQ(pcmPositionFrames(device), 40u);
}

TEST_F(Mixer, CloseLetsGoOfEveryBufferWithoutNotices)
{
    PcmDevice device = 0;
    ASSERT_EQ(pcmOpen(&device, {1, 44100}, nullptr, nullptr), PcmOk);
    TestBuffer &a = testBuffer(100, 1, 100, 1);
    TestBuffer &b = testBuffer(100, 1, 200, 2);
    pcmWrite(device, &a.buffer);
    pcmWrite(device, &b.buffer);
    pullFrames(10);
    pcmClose(device);
    EXPECT_EQ(a.buffer.queued.load(), 0);
    EXPECT_EQ(b.buffer.queued.load(), 0);
    EXPECT_TRUE(takeNotices(device).empty());
    EXPECT_EQ(pcmWrite(device, &a.buffer), PcmErrorInvalidHandle);
    EXPECT_EQ(pcmPositionFrames(device), 0u);
}

TEST_F(Mixer, NoticesBeyondWhatTheWindowQueueHoldsAreDroppedAndLaterOnesArriveAgain)
{
    const PcmDevice device = open({1, 44100});
    std::vector<PcmBuffer *> ring;
    for (int k = 0; k < 15; k++)
        ring.push_back(&testBuffer(10, 1, 1, uintptr_t(k)).buffer);
    auto playRing = [&] {
        for (PcmBuffer *slot : ring)
            ASSERT_EQ(pcmWrite(device, slot), PcmOk);
        pullFrames(150);
    };
    for (int round = 0; round < 5; round++) // 75 notices, none taken
        playRing();
    const std::vector<uintptr_t> kept = takeNotices(device);
    ASSERT_EQ(kept.size(), 64u); // the oldest, in order
    for (size_t i = 0; i < kept.size(); i++)
        EXPECT_EQ(kept[i], i % 15);
    playRing();
    EXPECT_EQ(takeNotices(device).size(), 15u);
}

TEST_F(Mixer, OpeningMoreDevicesThanTheMixerHoldsFailsCleanly)
{
    std::vector<PcmDevice> devices;
    PcmDevice device = 0;
    while (pcmOpen(&device, {1, 44100}, nullptr, nullptr) == PcmOk)
        devices.push_back(device);
    EXPECT_EQ(devices.size(), 8u);
    EXPECT_EQ(device, 0);
    TestBuffer &a = testBuffer(10, 1, 1, 0);
    EXPECT_EQ(pcmWrite(device, &a.buffer), PcmErrorInvalidHandle);
    pcmReset(device);
    EXPECT_EQ(pcmPositionFrames(device), 0u);
    pcmClose(device);
    for (PcmDevice d : devices)
        pcmClose(d);
    EXPECT_EQ(pcmOpen(&device, {1, 44100}, nullptr, nullptr), PcmOk);
    opened.push_back(device);
}

TEST_F(Mixer, RefusesFormatsItCannotConvert)
{
    const PcmFormat bad[] = {{0, 44100}, {256, 44100}, {2, 999}, {2, 400000}};
    for (const PcmFormat &format : bad) {
        PcmDevice device = 7;
        EXPECT_EQ(pcmOpen(&device, format, nullptr, nullptr), PcmErrorBadFormat);
        EXPECT_EQ(device, 0);
    }
    EXPECT_EQ(pcmWrite(0, nullptr), PcmErrorInvalidHandle);
}

TEST_F(Mixer, HeardPositionLeavesOutTheOutputBufferAndMovesOnWithTheClock)
{
    startTestOutput(256);
    const PcmDevice device = open({1, 44100});
    TestBuffer &a = testBuffer(4410, 1, 1, 0);
    pcmWrite(device, &a.buffer);
    pullFrames(1024);
    EXPECT_EQ(pcmPositionFrames(device), 1024u - 256u);
    testClockNowUs += 1000; // 44.1 frames later
    EXPECT_EQ(pcmPositionFrames(device), 1024u - 256u + 44u);
    testClockNowUs += 100000; // no pull came: it stops at what was mixed
    EXPECT_EQ(pcmPositionFrames(device), 1024u);
    pullFrames(1024); // a late pull starts the estimate afresh
    EXPECT_EQ(pcmPositionFrames(device), 2048u - 256u);
}

TEST_F(Mixer, HeardPositionNeverGoesBack)
{
    // With more latency than one pull, the estimate after the next pull lies below what the
    // clock had already shown.
    startTestOutput(2048);
    const PcmDevice device = open({1, 44100});
    TestBuffer &a = testBuffer(44100, 1, 1, 0);
    pcmWrite(device, &a.buffer);
    pullFrames(1024);
    testClockNowUs += 23000;
    const uint64_t shown = pcmPositionFrames(device);
    EXPECT_EQ(shown, 1014u);
    pullFrames(1024);
    EXPECT_EQ(pcmPositionFrames(device), shown);
    pcmReset(device);
    EXPECT_EQ(pcmPositionFrames(device), 0u);
}

TEST_F(Mixer, HeardPositionSmoothsTheJitterOfThePulls)
{
    // Pulls of 1024 frames (23.22 ms) with 1024 frames of latency. The estimate runs on at the
    // clock's pace and moves an eighth of the way to each pull's own figure (mixed - latency);
    // a pull too far off that figure starts it afresh.
    startTestOutput(1024);
    const PcmDevice device = open({1, 44100});
    TestBuffer &a = testBuffer(44100, 1, 1, 0);
    pcmWrite(device, &a.buffer);
    struct Step {
        uint64_t afterUs;
        uint64_t heard;
    };
    const Step steps[] = {
        {0, 0},         {23220, 1024}, // on time: the pull's own figure
        {25000, 2116},                 // late: 1024 + 1102.5 predicted, 2048 pulled, 2126.5 - 78.5 / 8
        {21440, 3063},                 // early: 2116.7 + 945.5 predicted, 3072 pulled
        {100000, 4096},                // 4410 frames predicted, 4096 pulled: too far off, afresh
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.afterUs);
        testClockNowUs += step.afterUs;
        pullFrames(1024);
        EXPECT_EQ(pcmPositionFrames(device), step.heard);
    }
}

TEST_F(Mixer, HeardPositionOfADeviceThatRanDryStopsAtItsLastFrame)
{
    startTestOutput(1024);
    const PcmDevice device = open({1, 44100});
    TestBuffer &a = testBuffer(300, 1, 1, 0);
    pcmWrite(device, &a.buffer);
    pullFrames(1024);
    EXPECT_EQ(pcmPositionFrames(device), 0u);
    testClockNowUs += 3000; // 132 frames heard
    EXPECT_EQ(pcmPositionFrames(device), 132u);
    testClockNowUs += 10000;
    EXPECT_EQ(pcmPositionFrames(device), 300u);
}

TEST_F(Mixer, RateConversionKeepsTheLengthAndPadsTheEnd)
{
    struct Case {
        int channels, rate, frames;
    };
    const Case cases[] = {{2, 48000, 48000}, {1, 22050, 11025}, {2, 32000, 7}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.rate);
        startTestOutput();
        const PcmDevice device = open({c.channels, c.rate});
        TestBuffer &sound = testBuffer(c.frames, c.channels, 8000, 5);
        pcmWrite(device, &sound.buffer);
        const int expected = int(int64_t(c.frames) * 44100 / c.rate);
        int pulled = 0, loud = 0;
        while (takeNotices(device).empty() && pulled < 3 * 44100) {
            const std::vector<int16_t> out = pullFrames(64);
            for (int i = 0; i < 64; i++)
                loud += std::abs(out[2 * i]) > 4000 ? 1 : 0;
            pulled += 64;
        }
        EXPECT_EQ(pcmPositionFrames(device), uint64_t(c.frames));
        EXPECT_NEAR(loud, expected, 4);
        EXPECT_LE(pulled, expected + 256);
        pcmClose(device);
        opened.clear();
    }
}

TEST_F(Mixer, ConvertedTimingMatchesTheSourceTiming)
{
    // A step from silence to sound half a second into a 48 kHz buffer sounds half a second in.
    const PcmDevice device = open({1, 48000});
    TestBuffer &sound = testBuffer(48000, 1, 0, 0);
    for (int i = 24000; i < 48000; i++) {
        const int16_t value = 10000;
        std::memcpy(sound.bytes.data() + 2 * i, &value, 2);
    }
    pcmWrite(device, &sound.buffer);
    const std::vector<int16_t> out = pullFrames(44100);
    int firstLoud = -1;
    for (int i = 0; i < 44100 && firstLoud < 0; i++)
        if (out[2 * i] > 5000)
            firstLoud = i;
    EXPECT_NEAR(firstLoud, 22050, 3);
}

TEST_F(Mixer, SumOfSourcesIsClampedToSixteenBits)
{
    const PcmDevice loud = open({1, 44100});
    const PcmDevice louder = open({2, 44100});
    const PcmDevice three = open({3, 44100});
    TestBuffer &a = testBuffer(10, 1, 30000, 0);
    TestBuffer &b = testBuffer(10, 2, 30000, 0);
    TestBuffer &c = testBuffer(10, 3, -300, 0);
    pcmWrite(loud, &a.buffer);
    pcmWrite(louder, &b.buffer);
    pcmWrite(three, &c.buffer);
    std::vector<int16_t> out = pullFrames(10);
    EXPECT_EQ(out[0], 32767);
    EXPECT_EQ(out[1], 32767);
    TestBuffer &d = testBuffer(10, 1, -30000, 0);
    TestBuffer &e = testBuffer(10, 2, -30000, 0);
    pcmWrite(loud, &d.buffer);
    pcmWrite(louder, &e.buffer);
    out = pullFrames(10);
    EXPECT_EQ(out[0], -32768);
}

TEST_F(Mixer, MoreThanTwoChannelsAreAveragedOntoBothSides)
{
    const PcmDevice device = open({3, 44100});
    TestBuffer &sound = testBuffer(4, 3, 0, 0);
    const int16_t frame[3] = {300, 600, 900};
    for (int i = 0; i < 4; i++)
        std::memcpy(sound.bytes.data() + 6 * i, frame, 6);
    pcmWrite(device, &sound.buffer);
    const std::vector<int16_t> out = pullFrames(4);
    EXPECT_EQ(out[0], 600);
    EXPECT_EQ(out[7], 600);
}

} // namespace
