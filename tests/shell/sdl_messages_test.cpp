// The SDL backend's message taking on a real window, with real key events from the X server.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <unistd.h>

#include "platform/keys.h"
#include "platform/pcm.h"
#include "platform/window.h"

using namespace std::chrono_literals;

namespace {

std::string firstLineOf(const std::string &command)
{
    std::string output;
    if (FILE *pipe = popen(command.c_str(), "r")) {
        char chunk[256];
        while (fgets(chunk, sizeof chunk, pipe) != nullptr)
            output += chunk;
        pclose(pipe);
    }
    return output.substr(0, output.find('\n'));
}

void takeEveryMessage()
{
    WindowMessage message;
    while (windowTakeMessage(message)) {}
}

// Our window on screen with the keyboard focus; false when it did not appear in time.
bool focusOurWindow()
{
    const std::string search = "xdotool search --onlyvisible --pid " + std::to_string(getpid()) +
                               " --name '^lumatide-keys$' 2>/dev/null";
    for (int attempt = 0; attempt < 100; attempt++) {
        takeEveryMessage();
        const std::string id = firstLineOf(search);
        if (!id.empty()) {
            std::system(("xdotool windowfocus --sync " + id + " 2>/dev/null").c_str());
            for (int i = 0; i < 20; i++) {
                takeEveryMessage();
                std::this_thread::sleep_for(10ms);
            }
            return true;
        }
        std::this_thread::sleep_for(100ms);
    }
    return false;
}

class SdlMessages : public testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
            GTEST_SKIP() << "needs a display (scripts/test.sh starts Xvfb)";
    }
};

// Voice done notices arrive faster than one a frame; a key pressed meanwhile must not wait
// until they are all taken.
TEST_F(SdlMessages, KeysAreReadWhileVoiceNoticesWait)
{
    ASSERT_TRUE(windowCreate("lumatide-keys", 320, 240));
    windowShow();
    ASSERT_TRUE(focusOurWindow());
    ASSERT_FALSE(keyIsDown(KeySpace));

    PcmDevice device = 0;
    ASSERT_EQ(pcmOpen(&device, PcmFormat{1, 44100}, nullptr, nullptr), PcmOk);
    static PcmBuffer buffers[32];
    int waiting = 0;
    for (int round = 0; round < 2; round++) {
        for (PcmBuffer &buffer : buffers)
            waiting += pcmWrite(device, &buffer) == PcmOk ? 1 : 0;
        pcmReset(device);
    }
    ASSERT_GE(waiting, 60);

    ASSERT_EQ(std::system("xdotool keydown space"), 0);
    int taken = 0;
    bool seen = false;
    WindowMessage message;
    while (!seen && windowTakeMessage(message)) {
        taken += message.kind == MessageKind::VoiceBufferDone ? 1 : 0;
        seen = keyIsDown(KeySpace);
        std::this_thread::sleep_for(10ms);
    }
    std::system("xdotool keyup space");
    EXPECT_TRUE(seen);
    EXPECT_LT(taken, waiting) << "the key was read only after every notice";

    pcmClose(device);
    windowDestroy();
}

} // namespace
