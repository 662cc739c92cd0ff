#include "platform/message_pump.h"

#include <atomic>
#include <thread>

#include "platform/timer.h"

// Static initialisation runs on the main thread.
static const std::thread::id mainThread = std::this_thread::get_id();

// Set on the main thread; the voice thread reads it too, although it never calls it.
static std::atomic<MessageHandler> messageHandler{nullptr};

void setMessageHandler(MessageHandler handler)
{
    messageHandler.store(handler, std::memory_order_relaxed);
}

void pumpMessagesFor(uint32_t ms)
{
    const MessageHandler handler = messageHandler.load(std::memory_order_relaxed);
    const bool dispatching = handler != nullptr && std::this_thread::get_id() == mainThread;
    const uint32_t start = timerNowMs();
    do {
        // All of them: behind a swap that waits for the display, the 1 ms frame wait is one step
        // per frame, and the voices return up to 150 buffers a second; one message a step would
        // let their notices pile up in front of the keys and the window's own messages.
        WindowMessage message;
        while (dispatching && windowTakeMessage(message))
            handler(message);
        timerSleepMs(1);
    } while (timerNowMs() - start < ms);
}
