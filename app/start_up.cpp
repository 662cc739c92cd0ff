#include "app/start_up.h"

int runApplication() { return 0; }
