#pragma once
#include <cstdint>

#include "library/chart.h"

// How long a song without playable music runs: to the start of the measure after the last one,
// plus a second; at most as long as the millisecond clock counts.
uint32_t silentSongLengthMs(const Chart &chart);

// Starts the selected song: its chart, its music (or silence as long as the chart), the play
// state. With `autoplay` the song plays by itself and is not marked played.
void startSong(bool autoplay);
