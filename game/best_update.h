#pragma once
#include <string>

// The song end's bookkeeping of per-song bests: a stage played without AUTOPLAY whose booked
// score is above 0 and beats the chart's best (or is its first) is written to data/best.txt with today's date.
// Sets bests.lastSongSetBest either way, so the stage result knows whether to show NEW BEST.
void recordStageBest(const std::string &chartFile, int stageScore, const int judgementCounts[3], int autoplay);

// Today's local date as YYYY-MM-DD.
std::string todaysDate();
