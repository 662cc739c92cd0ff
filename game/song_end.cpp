#include "game/song_end.h"

#include "game/best_update.h"
#include "game/catalogue_cursor.h"
#include "game/key_wait.h"
#include "library/catalogue.h"
#include "library/chart.h"
#include "library/ranking.h"
#include "platform/keys.h"
#include "platform/timer.h"
#include "platform/trace.h"
#include "rules/atomic_access.h"
#include "rules/credit_state.h"
#include "rules/judgement.h"
#include "rules/menu_state.h"
#include "rules/play_state.h"
#include "rules/song_scoring.h"

namespace {

int selectedLevel()
{
    const uint16_t index = menu.selectedSong;
    return index < catalogue.songCount ? catalogue.songs[index].level : 0;
}

void endCredit()
{
    storeRelaxed(menu.state, Result);
    play.displayedScore = 0;
    play.resultTime = timerNowMs();
    credit.newRankIndex = enterRanking(credit.creditScore);
    trace("credit %d miss=%d good=%d great=%d", credit.creditScore, credit.creditJudgementCounts[Miss],
          credit.creditJudgementCounts[Good], credit.creditJudgementCounts[Great]);
}

} // namespace

void finishSong()
{
    play.resultTime = timerNowMs();
    credit.songEndHandled = 1;

    const int level = selectedLevel();
    const double songScore = play.score;
    credit.clearBonus = clearBonusFor(play.gauge, chart.clearNorm, level);
    const int booked = bookedStageScore(play.score, credit.clearBonus);
    credit.stageScores[credit.stage] = booked;
    if (menu.autoplay == 0) {
        for (int k = Miss; k <= Great; k++)
            credit.creditJudgementCounts[k] += play.judgementCounts[k];
        play.score += credit.clearBonus;
        credit.creditScore += booked;
        if (booked >= unlockThreshold(level))
            credit.extraUnlocked = 1;
    }
    trace("song end miss=%d good=%d great=%d score=%.0f gauge=%.1f bonus=%d %s", play.judgementCounts[Miss],
          play.judgementCounts[Good], play.judgementCounts[Great], songScore, play.gauge, credit.clearBonus,
          songCleared(play.gauge, chart.clearNorm) ? "CLEAR" : "FAILED");
    if (menu.selectedSong < catalogue.songCount)
        recordStageBest(catalogue.songs[menu.selectedSong].fileName, booked, play.judgementCounts, menu.autoplay);
}

void leaveSong()
{
    waitForKeyRelease(KeySpace, 1);
    storeRelaxed(menu.state, Select);
    if (menu.autoplay == 0) {
        credit.stage++;
        menu.selectedSong = cursorAfterStage(catalogue.songs, catalogue.songCount, credit.extraUnlocked);
    }
    credit.songEndHandled = 0;
    if (credit.stage >= StagesPerCredit)
        endCredit();
}
