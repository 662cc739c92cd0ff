#include "platform/message_pump.h"

#include <algorithm>
#include <atomic>
#include <thread>

#include "platform/timer.h"

// Static initialisation runs on the main thread.
static const std::thread::id mainThread = std::this_thread::get_id();

// Set on the main thread; the voice thread reads it too, although it never calls it.
static std::atomic<MessageHandler> messageHandler{nullptr};

void setMessageHandler(MessageHandler handler) { messageHandler.store(handler, std::memory_order_relaxed); }

// All of them: the voices return up to 150 buffers a second; one message at a time would let
// their notices pile up in front of the keys and the window's own messages.
static void dispatchWaitingMessages(MessageHandler handler)
{
    WindowMessage message;
    while (windowTakeMessage(message))
        handler(message);
}

void pumpMessagesFor(uint32_t ms)
{
    const MessageHandler handler = messageHandler.load(std::memory_order_relaxed);
    const bool dispatching = handler != nullptr && std::this_thread::get_id() == mainThread;
    const uint32_t start = timerNowMs();
    const uint32_t wait = std::max<uint32_t>(ms, 1);
    if (dispatching)
        dispatchWaitingMessages(handler);
    // One sleep for the whole wait: keys are latched whenever the window system is read, and the
    // frame reads them after the wait, so waking every millisecond would see nothing sooner.
    for (uint32_t elapsed = timerNowMs() - start; elapsed < wait; elapsed = timerNowMs() - start)
        timerSleepMs(wait - elapsed);
    if (dispatching)
        dispatchWaitingMessages(handler);
}

void pumpWaitingMessages()
{
    const MessageHandler handler = messageHandler.load(std::memory_order_relaxed);
    if (handler != nullptr && std::this_thread::get_id() == mainThread)
        dispatchWaitingMessages(handler);
}
