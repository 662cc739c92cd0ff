#include "rules/play_state.h"

PlayState play;
