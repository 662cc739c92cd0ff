#include "rules/pause_state.h"

PauseState songPause;
