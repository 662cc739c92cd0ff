#pragma once
// Never wiped: the songs of data/songlist.txt, built once at start-up by loadSongList. Only the
// played flags change afterwards: the song start (game/) sets them and every new credit clears them.
// The titles are made by start-up (the first few) and by the screens that draw them (titleToDraw,
// gfx/), which keeps madeTitles; shutdown releases them all.
#include <cstdint>
#include <vector>

#include "library/song_entry.h"
#include "library/title_texture.h"

struct Catalogue {
    std::vector<SongEntry> songs;
    std::vector<TitleTexture> titleTextures;
    uint16_t songCount = 0;
    std::vector<uint16_t> madeTitles; // entries whose title holds a texture, least recently drawn first
};

extern Catalogue catalogue;
