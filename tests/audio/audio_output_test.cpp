// Start-up of the audio output on the fake backend: the trace line, and the one message box of a
// run without any output.
#include <gtest/gtest.h>

#include <string>

#include "audio/audio_output.h"
#include "platform/fake/pcm_fake.h"
#include "platform/trace.h"

namespace {

int countOf(const std::string &text, const std::string &part)
{
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        count++;
    return count;
}

TEST(AudioOutput, TracesItsDriverAndShowsTheMessageBoxOncePerRunWhenNothingOpens)
{
    ASSERT_TRUE(traceEnabled()); // switched on by the tests' main
    const std::string box = "WAVEデバイスのオープンに失敗しました";
    testing::internal::CaptureStderr();
    startAudioOutput();
    stopAudioOutput();
    std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(countOf(log, " audio fake 44100 1024\n"), 1);
    EXPECT_EQ(countOf(log, box), 0);

    fakeSetPcmOutputOpens(false);
    testing::internal::CaptureStderr();
    for (int start = 0; start < 3; start++) {
        startAudioOutput();
        stopAudioOutput();
    }
    log = testing::internal::GetCapturedStderr();
    fakeSetPcmOutputOpens(true);
    EXPECT_EQ(countOf(log, " audio silent 44100 1024\n"), 3);
    EXPECT_EQ(countOf(log, box), 1);
}

} // namespace
