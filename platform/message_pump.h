#pragma once
#include <cstdint>

#include "platform/window.h"

// What handles one window message on the main thread. The shell sets its window procedure at
// start-up, so the folders below it can wait through pumpMessagesFor without knowing it.
using MessageHandler = void (*)(const WindowMessage &message);
void setMessageHandler(MessageHandler handler);

// Dispatches every waiting window message to the handler, then sleeps 1 ms, until at least ms
// milliseconds have passed; runs at least once. Off the main thread, or before a handler is set,
// it only sleeps: the window's messages belong to the main thread's handler.
void pumpMessagesFor(uint32_t ms);
