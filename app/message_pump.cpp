#include "app/message_pump.h"

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
        WindowMessage message;
        if (onMainThread && windowTakeMessage(message))
            windowProcedure(message);
        timerSleepMs(1);
    } while (timerNowMs() - start < ms);
}
