#include "platform/keys.h"
#include "platform/timer.h"
#include "platform/window.h"

uint32_t timerNowMs() { return 0; }
void timerSleepMs(uint32_t) {}
uint16_t keyState(int) { return 0; }
bool windowCreate(const char *, int, int) { return false; }
bool windowSetSwapIntervalZero() { return false; }
void windowShow() {}
void windowSwapBuffers() {}
void windowSetMinimumSize(int, int) {}
void windowDestroy() {}
bool windowTakeMessage(WindowMessage &) { return false; }
void showMessageBox(const char *) {}
