#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/app_context.h"
#include "audio/synthesizer.h"
#include "audio/voice_thread.h"
#include "audio_test_support.h"

namespace {

int queuedSlots(const ToneVoice &voice)
{
    int queued = 0;
    for (const PcmBuffer &buffer : voice.buffers)
        queued += buffer.queued.load();
    return queued;
}

// The play screen with the key held, the pointer at the centre of the field.
class VoiceThread : public ::testing::Test {
protected:
    void SetUp() override { start(20); }
    void TearDown() override { closeVoices(); }
    void start(int bufferLengthMs)
    {
        resetAppContext();
        startTestOutput();
        shell.bufferLengthMs = bufferLengthMs;
        openVoices();
        menu.state.store(Play);
        play.keyHeldFrames.store(1);
        music.streamState.store(Streaming);
        window.pointerX.store(320.0);
        queueTarget = voiceQueueTarget(bufferLengthMs);
    }
    uint16_t queueTarget = 0;
};

TEST(VoiceCounts, FollowBufferLengthAndStayInsideTheRing)
{
    struct Case {
        int bufferLengthMs;
        uint32_t slotBytes;
        uint16_t queueTarget;
        int burstCount;
    };
    const Case cases[] = {
        {20, 1764, 7, 5},    {50, 4410, 3, 3}, {10, 882, 13, 10}, {8, 705, 14, 12}, {7, 617, 14, 13},
        {1, 88, 14, 13},     {0, 88, 14, 13},  {-20, 88, 14, 13}, // a setting below 1 ms plays as 1 ms
        {1000, 88200, 3, 3},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.bufferLengthMs);
        EXPECT_EQ(voiceSlotBytes(c.bufferLengthMs), c.slotBytes);
        EXPECT_EQ(voiceQueueTarget(c.bufferLengthMs), c.queueTarget);
        EXPECT_EQ(voiceBurstCount(c.bufferLengthMs), c.burstCount);
    }
}

TEST_F(VoiceThread, FirstPassWritesABurstThenOneBufferAPassUpToTheQueueTarget)
{
    const int written[] = {5, 6, 7, 7};
    for (int expected : written) {
        feedVoices(queueTarget);
        EXPECT_EQ(voices[0].ringWrite.load(), expected);
        EXPECT_EQ(queuedSlots(voices[0]), expected);
    }
    EXPECT_EQ(queuedSlots(voices[1]), 0); // unison off: one voice

    pullFrames(882 * 3); // three buffers played, slot 2 came back last
    deliverVoiceNotices();
    EXPECT_EQ(voices[0].ringDone.load(), 2);
    feedVoices(queueTarget); // outstanding 5: one more
    EXPECT_EQ(voices[0].ringWrite.load(), 8);
}

TEST_F(VoiceThread, ARingThatRanDryGetsABurstAgain)
{
    feedVoices(queueTarget);
    pullFrames(882 * 5);
    deliverVoiceNotices();
    EXPECT_EQ(voices[0].ringDone.load(), 4);
    feedVoices(queueTarget);
    EXPECT_EQ(voices[0].ringWrite.load(), 10);
}

TEST_F(VoiceThread, EveryBufferLengthKeepsTheToneGoingWithoutReusingAQueuedSlot)
{
    for (int bufferLengthMs : {1, 5, 7, 10, 20, 50}) {
        SCOPED_TRACE(bufferLengthMs);
        closeVoices();
        start(bufferLengthMs);
        const int slotSamples = int(voiceSlotBytes(bufferLengthMs) / 2);
        int writes = 0;
        for (int pass = 0; pass < 200; pass++) {
            const int before = voices[0].ringWrite.load();
            feedVoices(queueTarget);
            writes += (voices[0].ringWrite.load() - before + RingSlots) % RingSlots;
            ASSERT_LE(queuedSlots(voices[0]), 14);
            pullFrames(220); // 5 ms of output between passes
            deliverVoiceNotices();
        }
        // 200 passes of 5 ms: every frame of the second was supplied.
        EXPECT_GE(writes * slotSamples, 200 * 220);
    }
}

TEST_F(VoiceThread, SlotsTheDeviceStillHoldsAreNotSynthesizedAgain)
{
    feedVoices(queueTarget); // slots 0..4 queued
    const std::vector<uint8_t> before(voices[0].buffers[3].data, voices[0].buffers[3].data + 1764);
    // The ring counters restart (a song start) while the tone is still queued.
    voices[0].ringWrite.store(0);
    voices[0].ringDone.store(0);
    voices[0].phase.store(0.5);
    feedVoices(queueTarget);
    EXPECT_EQ(voices[0].ringWrite.load(), 0);
    EXPECT_EQ(std::vector<uint8_t>(voices[0].buffers[3].data, voices[0].buffers[3].data + 1764), before);
}

TEST_F(VoiceThread, ReleaseResetsEveryActiveVoiceOnTheNextPass)
{
    menu.unison.store(1);
    feedVoices(queueTarget);
    feedVoices(queueTarget);
    for (const ToneVoice &voice : voices)
        EXPECT_EQ(queuedSlots(voice), 6);

    play.keyHeldFrames.store(0);
    requestVoiceReset();
    feedVoices(queueTarget);
    deliverVoiceNotices();
    for (const ToneVoice &voice : voices) {
        EXPECT_EQ(queuedSlots(voice), 0);
        EXPECT_EQ(voice.phase.load(), 0.0);
        EXPECT_EQ(voice.resetRequested.load(), 0);
        EXPECT_EQ(voice.ringDone.load(), 5); // the last slot returned
        EXPECT_EQ(voice.ringWrite.load(), 6);
    }
    const std::vector<int16_t> out = pullFrames(100);
    EXPECT_EQ(out[0], 0);

    play.keyHeldFrames.store(3);
    feedVoices(queueTarget); // outstanding 1: a burst again
    EXPECT_EQ(voices[0].ringWrite.load(), 11);
}

TEST_F(VoiceThread, UnisonSwitchedOnStartsTheExtraVoicesWithABurst)
{
    feedVoices(queueTarget);
    menu.unison.store(1);
    feedVoices(queueTarget);
    EXPECT_EQ(queuedSlots(voices[0]), 6);
    EXPECT_EQ(queuedSlots(voices[1]), 5);
    EXPECT_EQ(queuedSlots(voices[2]), 5);
    menu.unison.store(0);
    feedVoices(queueTarget);
    EXPECT_EQ(queuedSlots(voices[1]), 5); // left to play out
}

TEST_F(VoiceThread, NothingIsFedOffThePlayScreenWithoutTheKeyOrAfterTheMusic)
{
    struct Case {
        int state, keyHeldFrames, streamState;
    };
    const Case cases[] = {{Select, 1, Streaming}, {Title, 1, Streaming}, {Play, 0, Streaming}, {Play, 1, Finished}};
    for (const Case &c : cases) {
        menu.state.store(c.state);
        play.keyHeldFrames.store(c.keyHeldFrames);
        music.streamState.store(c.streamState);
        feedVoices(queueTarget);
        EXPECT_EQ(voices[0].ringWrite.load(), 0);
    }
    music.streamState.store(Draining);
    menu.state.store(Play);
    play.keyHeldFrames.store(1);
    feedVoices(queueTarget);
    EXPECT_EQ(voices[0].ringWrite.load(), 5);
}

TEST_F(VoiceThread, PitchFollowsPointerOctaveAndUnisonDetune)
{
    struct Case {
        double pointerX;
        int octave, waveType;
        double voice0, voice1, voice2;
    };
    // 640 wide, margin 40: the field runs from 40 to 600, 280 pixels a side for 12 semitones.
    const Case cases[] = {
        {320, 4, 1, 0.0, 0.05, -0.05},   {40, 4, 2, -12.0, -11.95, -12.05}, {600, 3, 3, 0.0, 0.05, -0.05},
        {460, 5, 4, 18.0, 18.05, 17.95}, {320, 4, 0, 0.0, 12.05, -12.05},
    };
    for (const Case &c : cases) {
        window.pointerX.store(c.pointerX);
        play.octave.store(c.octave);
        menu.waveType.store(c.waveType);
        EXPECT_NEAR(voicePitch(0), c.voice0, 1e-12);
        EXPECT_NEAR(voicePitch(1), c.voice1, 1e-12);
        EXPECT_NEAR(voicePitch(2), c.voice2, 1e-12);
    }
}

TEST_F(VoiceThread, AZeroWidthFieldStillGivesAFinitePitch)
{
    window.clientWidth.store(80);
    window.fieldMargin.store(40);
    for (double x : {0.0, 40.0, 79.0}) {
        window.pointerX.store(x);
        EXPECT_TRUE(std::isfinite(voicePitch(0)));
    }
    feedVoices(queueTarget);
    EXPECT_EQ(voices[0].ringWrite.load(), 5);
}

TEST_F(VoiceThread, NoticesFromOtherDevicesChangeNothing)
{
    voices[1].ringDone.store(4);
    onVoiceBufferDone(0, 3);
    onVoiceBufferDone(voices[2].device + 100, 3);
    onVoiceBufferDone(voices[1].device, 99);
    for (int i = 0; i < VoiceCount; i++)
        EXPECT_EQ(voices[i].ringDone.load(), i == 1 ? 4 : 0);
    onVoiceBufferDone(voices[1].device, 9);
    EXPECT_EQ(voices[1].ringDone.load(), 9);
}

TEST_F(VoiceThread, AFailedWriteRollsThePhaseBackToBeforeTheLastSlotSynthesized)
{
    for (int waveType : {0, 4}) { // phase in radians, then in cycles
        SCOPED_TRACE(waveType);
        menu.waveType.store(waveType);
        // The phase after four of the burst's five buffers, worked out on voice 1 (unison is off).
        voices[1].phase.store(0.0);
        for (int slot = 0; slot < 4; slot++)
            synthesizeBuffer(slot, 1, voicePitch(0));
        const double afterFour = voices[1].phase.load();
        synthesizeBuffer(4, 1, voicePitch(0));
        ASSERT_NE(voices[1].phase.load(), afterFour);

        voices[0].phase.store(0.0);
        pcmClose(voices[0].device); // every write now fails
        feedVoices(queueTarget);
        EXPECT_EQ(voices[0].ringWrite.load(), 0);
        EXPECT_EQ(voices[0].phase.load(), afterFour);
    }
}

TEST_F(VoiceThread, WithoutADeviceTheToneStaysSilentAndNothingBreaks)
{
    closeVoices();
    std::vector<PcmDevice> taken;
    for (PcmDevice device = 0; pcmOpen(&device, {1, 44100}, nullptr, nullptr) == PcmOk;)
        taken.push_back(device);
    openVoices(); // no slot left in the mixer
    for (const ToneVoice &voice : voices)
        EXPECT_EQ(voice.device, 0);
    menu.unison.store(1);
    for (int pass = 0; pass < 3; pass++) {
        feedVoices(queueTarget);
        pullFrames(220);
        EXPECT_EQ(deliverVoiceNotices(), 0);
    }
    requestVoiceReset();
    feedVoices(queueTarget);
    for (const ToneVoice &voice : voices) {
        EXPECT_EQ(voice.ringWrite.load(), 0);
        EXPECT_EQ(queuedSlots(voice), 0);
    }
    for (PcmDevice device : taken)
        pcmClose(device);
}

TEST_F(VoiceThread, NoticesLeftWaitingStopTheFeedingBeforeTheirQueueFillsUp)
{
    // A main thread that stalls hands over no notices; the ring then looks full, so the voice
    // thread writes nothing more and the device's notice queue never overflows.
    for (int pass = 0; pass < 400; pass++) {
        feedVoices(queueTarget);
        pullFrames(220);
    }
    EXPECT_EQ(voices[0].ringWrite.load(), queueTarget);
    EXPECT_EQ(queuedSlots(voices[0]), 0);
    EXPECT_EQ(deliverVoiceNotices(), queueTarget);
    EXPECT_EQ(voices[0].ringDone.load(), queueTarget - 1);
    feedVoices(queueTarget); // caught up: the ring ran dry, a burst
    EXPECT_EQ(voices[0].ringWrite.load(), queueTarget + voiceBurstCount(20));
}

} // namespace
