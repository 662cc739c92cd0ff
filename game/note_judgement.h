#pragma once
#include "game/play_frame.h"
#include "rules/judgement_rules.h"

// Follows the octave of the current note and judges it by the ordinary-note or slide-end table;
// once every note has passed without a MISS, marks the full combo.
void judgeCurrentNote(PlayFrame &frame);

// Records `judgement` for this frame, timed by `note`; recordJudgement books it.
void markJudged(PlayFrame &frame, const ChartNote &note, Judgement judgement);
