#pragma once
#include <string>

#include "library/catalogue.h"

// The song list's file name in every data and songs folder.
constexpr const char *SongListName = "songlist.txt";

// Builds the catalogue: the bundled data/songlist.txt, then the player's own songs/songlist.txt
// (platform/paths.h says where each is).
void loadSongList();

// The same on any data folder: one entry per chart line of dataDir/songlist.txt, with the title
// and level read from each chart.
void readSongList(const std::string &dataDir, Catalogue &catalogue);

// Adds the player's own songsDir/songlist.txt after the entries already listed; their charts are
// named relative to songsDir. A missing list adds nothing and says nothing; one that cannot be read
// or names no chart says so on stderr.
void addPlayersSongList(const std::string &songsDir, Catalogue &catalogue);

// A chart line names a file whose text from its first '.' on starts with ".txt".
bool isChartLine(const std::string &line);
