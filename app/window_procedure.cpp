#include "app/window_procedure.h"

void windowProcedure(const WindowMessage &) {}
