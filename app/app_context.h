#pragma once
// Every record of the run, each declared by the folder that holds it (see docs/architecture.md):
// for the shell and for tests, which sit above every folder.
#include "audio/music_stream.h"
#include "audio/synthesizer.h"
#include "audio/tone_voice.h"
#include "gfx/gfx_state.h"
#include "library/best_scores.h"
#include "library/catalogue.h"
#include "library/chart.h"
#include "library/ranking.h"
#include "rules/credit_state.h"
#include "rules/help_state.h"
#include "rules/menu_state.h"
#include "rules/pause_state.h"
#include "rules/play_state.h"
#include "rules/settings_state.h"
#include "rules/shell_state.h"
#include "rules/window_state.h"

// Joins the folders where one reaches up to another through a hook rather than an include: the
// message pump dispatches to the window procedure, the renderer reads the music stream's state.
void connectSubsystems();

// Puts every record back to its load-time value and connects the subsystems (tests start each case
// from a fresh run).
void resetAppContext();
