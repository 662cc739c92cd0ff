#pragma once
#include <map>
#include <string>

// The best stage score of one chart, with its judgement counts and the day it was played.
struct BestScore {
    int score = 0;
    int great = 0;
    int good = 0;
    int miss = 0;
    std::string date; // YYYY-MM-DD, local time
};

// Bests by chart file name, as the song list writes it.
using BestScoreTable = std::map<std::string, BestScore>;

// Never wiped: the per-song bests, loaded at start-up; written by the song end (game/) after
// every stage played without AUTOPLAY, which also sets lastSongSetBest; read by the select screen
// and the stage result (gfx/).
struct BestScores {
    BestScoreTable byChart;
    bool saving = true;           // false when the song list names best.txt as a chart
    bool lastSongSetBest = false; // the song that ended last wrote a new best
};

extern BestScores bests;

// best.txt in the folder the ranking is saved in.
std::string bestFilePath();
// Reads the bests at start-up, after the song list: when the list names the best file itself as
// a chart, the chart wins, and the bests are neither read nor saved (one line on stderr).
void loadBestScores();
// Writes the bests to bestFilePath() unless the song list claimed that file; true when written.
bool saveBestScores();

// One line per chart, CR LF, tab-separated: chart file name, score, great, good, miss, date. A
// missing file gives no bests; a damaged line is skipped with a line on stderr and the others are
// kept; a chart named twice keeps its higher score.
void readBestFile(const std::string &path, BestScoreTable &table);
// Writes the whole table in the order of the names, atomically; false with a line on stderr when
// the file cannot be written (the table stays in memory).
bool writeBestFile(const std::string &path, const BestScoreTable &table);

// Stores the score when the chart has no best yet or the score beats it; a tie keeps the older
// one. A name the file cannot hold (empty, or with a tab or line break) is never stored.
bool offerBestScore(BestScoreTable &table, const std::string &chartFile, const BestScore &score);

// The best score of a chart, or nullptr when it was never played.
const BestScore *findBestScore(const BestScoreTable &table, const std::string &chartFile);
