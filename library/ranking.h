#pragma once
#include <string>

void loadRanking();
void saveRanking();
// Enters a credit score: sets newRankIndex (10 when not ranked), inserts it and saves the file.
void enterRanking(int creditScore);

// The same on any file and any ranking of ten scores.
// A missing file gives the file defaults; a file with no readable line keeps the values given,
// and so does one that is there but cannot be read (a pipe, a folder, over 64 KB), which says so
// on stderr.
void readRankingFile(const std::string &path, int ranking[10]);
// Writes beside the old file and renames over it, so a failed write leaves the old file whole
// and says why on stderr. A link is followed and stays a link. An old file whose lines were not
// all taken as scores is first kept as <file>.bad, with a line on stderr.
bool writeRankingFile(const std::string &path, const int ranking[10]);
// Inserts the score above the first entry it reaches; returns its rank, or 10 when not ranked.
int insertRankingScore(int ranking[10], int score);
