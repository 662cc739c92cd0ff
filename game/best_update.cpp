#include "game/best_update.h"

#include <ctime>

#include "library/best_scores.h"
#include "platform/trace.h"
#include "rules/judgement.h"

std::string todaysDate()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    char text[16] = "1970-01-01";
    if (localtime_r(&now, &local) != nullptr)
        std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

void recordStageBest(const std::string &chartFile, int stageScore, const int judgementCounts[3], int autoplay)
{
    bests.lastSongSetBest = false;
    // A stage of no points beats nothing worth showing: it would only read as "BEST 0".
    if (autoplay != 0 || stageScore <= 0)
        return;
    BestScore best;
    best.score = stageScore;
    best.great = judgementCounts[Great];
    best.good = judgementCounts[Good];
    best.miss = judgementCounts[Miss];
    best.date = todaysDate();
    if (!offerBestScore(bests.byChart, chartFile, best))
        return;
    bests.lastSongSetBest = true;
    if (saveBestScores())
        trace("best %s %d", chartFile.c_str(), stageScore);
}
