#pragma once
#include <string>

void loadRanking();
void saveRanking();
// Enters a credit score: sets newRankIndex (10 when not ranked), inserts it and saves the file.
void enterRanking(int creditScore);

// The same on any file and any ranking of ten scores.
// A missing file gives the file defaults; a file with no readable line keeps the values given.
void readRankingFile(const std::string &path, int ranking[10]);
// Writes beside the old file and renames over it, so a failed write leaves the old file whole.
bool writeRankingFile(const std::string &path, const int ranking[10]);
// Inserts the score above the first entry it reaches; returns its rank, or 10 when not ranked.
int insertRankingScore(int ranking[10], int score);
