#include "rules/count_up.h"

#include <algorithm>

#include "platform/timer.h"
#include "rules/credit_state.h"
#include "rules/play_state.h"

double countedUpScore(uint32_t nowMs, uint32_t resultTime, int creditScore, double displayedScore)
{
    const int32_t elapsed = static_cast<int32_t>(nowMs - resultTime);
    if (resultTime == 0 || elapsed <= 1000)
        return displayedScore;
    if (elapsed >= 1500)
        return creditScore;
    return static_cast<double>(int64_t(elapsed - 1000) * creditScore / 500);
}

void updateCreditCountUp()
{
    play.displayedScore = countedUpScore(timerNowMs(), play.resultTime, credit.creditScore, play.displayedScore);
}

double songScoreCountedUp(double displayedScore, double score)
{
    constexpr double ScoreCountUpStep = 130.0;
    return displayedScore < score ? std::min(displayedScore + ScoreCountUpStep, score) : displayedScore;
}
