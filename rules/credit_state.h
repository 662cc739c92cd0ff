#pragma once
// Songs played without AUTOPLAY that make a credit.
constexpr int StagesPerCredit = 2;

// Wiped at every credit: the title screen's start of a credit clears it (stage also when the
// result screen returns to the title), except newRankIndex, which stays until the next credit
// ends, and songEndHandled, which the leaving of a song and the Escape from play clear. Written by
// the song end and the screen flow (game/); read by the renderer.
struct CreditState {
    int stage = 0;
    int creditJudgementCounts[3] = {0, 0, 0};
    int clearBonus = 0;
    int stageScores[2] = {0, 0};
    int creditScore = 0;
    int extraUnlocked = 0;
    int newRankIndex = 10;
    int songEndHandled = 0;
};

extern CreditState credit;
