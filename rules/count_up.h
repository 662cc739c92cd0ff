#pragma once
#include <cstdint>

// The credit total shown at timer time nowMs: it counts up linearly from 0 during the half second
// that starts one second after resultTime, then stays at creditScore. Before that, or while
// resultTime is 0, the shown value stays as it is.
double countedUpScore(uint32_t nowMs, uint32_t resultTime, int creditScore, double displayedScore);

// countedUpScore on the play and credit records at the timer's now.
void updateCreditCountUp();

// The song score shown one frame later: 130 points a frame nearer the score, never past it.
double songScoreCountedUp(double displayedScore, double score);
