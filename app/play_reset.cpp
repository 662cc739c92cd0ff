#include "app/play_reset.h"

void resetPlayState() {}
