#pragma once
// Builds the catalogue from data/songlist.txt beside the executable.
void loadSongList();
