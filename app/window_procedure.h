#pragma once
#include "platform/window.h"
void windowProcedure(const WindowMessage &message);
