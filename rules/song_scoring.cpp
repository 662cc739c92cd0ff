#include "rules/song_scoring.h"

#include <algorithm>

JudgementGain judgementGain(Judgement judgement, uint16_t judgedNoteCount, double gaugeRate)
{
    if (judgement == Miss)
        return {-2.0, 0.0};
    if (judgedNoteCount == 0)
        return {};
    const double perNote = 100000.0 / judgedNoteCount;
    const double gauge = 100.0 / gaugeRate / judgedNoteCount;
    return {gauge, judgement == Great ? perNote : 0.5 * perNote};
}

double clampGauge(double gauge) { return std::clamp(gauge, 0.0, 100.0); }

bool songCleared(double gauge, double clearNorm) { return gauge >= 100.0 * clearNorm; }

int clearBonusFor(double gauge, double clearNorm, int level)
{
    if (!songCleared(gauge, clearNorm))
        return 0;
    const int bonus = static_cast<int>((gauge / 100.0 - clearNorm) / (1.0 - clearNorm) * level * 2000);
    return bonus / 10 * 10;
}

int roundedScore(double score) { return static_cast<int>((score + 5.0) / 10.0) * 10; }

int bookedStageScore(double score, int clearBonus) { return clearBonus + roundedScore(score); }

int unlockThreshold(int level) { return 101500 - 1500 * level; }
