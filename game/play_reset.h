#pragma once
// Resets the per-song state: at start-up, at every song start and when play is abandoned.
void resetPlayState();
