#include "app/message_pump.h"

void pumpMessagesFor(uint32_t) {}
