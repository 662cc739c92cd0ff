#pragma once
// Never wiped: the songs of data/songlist.txt, built once at start-up by loadSongList. Only the
// played flags change afterwards: the song start (game/) sets them and every new credit clears them.
// The renderer (gfx/) makes each title's texture.
#include <cstdint>
#include <vector>

#include "library/song_entry.h"
#include "library/title_texture.h"

struct Catalogue {
    std::vector<SongEntry> songs;
    std::vector<TitleTexture> titleTextures;
    uint16_t songCount = 0;
};

extern Catalogue catalogue;
