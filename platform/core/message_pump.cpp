#include "platform/message_pump.h"

#include <thread>

#include "app/window_procedure.h"
#include "platform/timer.h"
#include "platform/window.h"

// Static initialisation runs on the main thread.
static const std::thread::id mainThread = std::this_thread::get_id();

void pumpMessagesFor(uint32_t ms)
{
    const bool onMainThread = std::this_thread::get_id() == mainThread;
    const uint32_t start = timerNowMs();
    do {
        // All of them: behind a swap that waits for the display, the 1 ms frame wait is one step
        // per frame, and the voices return up to 150 buffers a second; one message a step would
        // let their notices pile up in front of the keys and the window's own messages.
        WindowMessage message;
        while (onMainThread && windowTakeMessage(message))
            windowProcedure(message);
        timerSleepMs(1);
    } while (timerNowMs() - start < ms);
}
