#pragma once
#include <string>

#include "library/catalogue.h"

// Builds the catalogue from data/songlist.txt beside the executable.
void loadSongList();

// The same on any data folder: one entry per chart line of dataDir/songlist.txt, with the title
// and level read from each chart.
void readSongList(const std::string &dataDir, Catalogue &catalogue);

// A chart line names a file whose text from its first '.' on starts with ".txt".
bool isChartLine(const std::string &line);
