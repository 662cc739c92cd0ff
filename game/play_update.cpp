#include "game/play_update.h"

void updatePlay() {}
