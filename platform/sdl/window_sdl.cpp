#include "platform/window.h"

bool windowCreate(const char *, int, int) { return false; }
bool windowSetSwapIntervalZero() { return false; }
void windowShow() {}
void windowSwapBuffers() {}
void windowSetMinimumSize(int, int) {}
void windowDestroy() {}
bool windowTakeMessage(WindowMessage &) { return false; }
void showMessageBox(const char *) {}
