#pragma once
#include <string>

constexpr int RankCount = 10;
// The ranking before any file is read.
constexpr int LoadTimeRanking[RankCount] = {150000, 140000, 130000, 120000, 110000, 100000, 90000, 80000, 70000, 60000};

// Never wiped: the ten best credit scores, loaded at start-up and saved at start-up, after every
// credit and at shutdown. Written here only; the title screen (gfx/) shows it.
extern int ranking[RankCount];

void loadRanking();
void saveRanking();
// Enters a credit score, saves the file and returns its place (0..9), or 10 when not ranked.
int enterRanking(int creditScore);

// The same on any file and any ranking of ten scores.
// A missing file gives the file defaults, and so does one that is there but cannot be read (a
// pipe, a folder, over 64 KB), which says so on stderr; a file with no readable line keeps the
// values given.
void readRankingFile(const std::string &path, int ranking[10]);
// Writes beside the old file and renames over it, so a failed write leaves the old file whole
// and says why on stderr. A link is followed and stays a link. An old file whose lines were not
// all taken as scores is first kept as <file>.bad, with a line on stderr.
bool writeRankingFile(const std::string &path, const int ranking[10]);
// Inserts the score above the first entry it reaches; returns its rank, or 10 when not ranked.
int insertRankingScore(int ranking[10], int score);
