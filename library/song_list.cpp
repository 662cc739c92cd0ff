#include "library/song_list.h"

void loadSongList() {}
