#include "platform/keys.h"

uint16_t keyState(int) { return 0; }
