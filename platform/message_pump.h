#pragma once
#include <cstdint>

#include "platform/window.h"

// What handles one window message on the main thread. The shell sets its window procedure at
// start-up, so the folders below it can wait through pumpMessagesFor without knowing it.
using MessageHandler = void (*)(const WindowMessage &message);
void setMessageHandler(MessageHandler handler);

// Dispatches every waiting window message to the handler, sleeps in one go until at least ms
// milliseconds (and at least 1) have passed since the call, and dispatches what came meanwhile.
// Off the main thread, or before a handler is set, it only sleeps: the window's messages belong
// to the main thread's handler.
void pumpMessagesFor(uint32_t ms);
// Dispatches every waiting window message without waiting (main thread; elsewhere it does nothing).
void pumpWaitingMessages();
