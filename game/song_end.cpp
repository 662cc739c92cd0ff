#include "game/song_end.h"

void finishSong() {}
void leaveSong() {}
