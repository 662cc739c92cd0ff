#include "game/song_end.h"

#include "app/app_context.h"
#include "platform/trace.h"
#include "rules/atomic_access.h"
#include "game/catalogue_cursor.h"
#include "game/key_wait.h"
#include "rules/song_scoring.h"
#include "library/ranking.h"
#include "platform/keys.h"
#include "platform/timer.h"

namespace {

constexpr int StagesPerCredit = 2;

int selectedLevel()
{
    const Catalogue &catalogue = app.catalogue;
    const uint16_t index = app.menu.selectedSong;
    return index < catalogue.songCount ? catalogue.songs[index].level : 0;
}

void endCredit()
{
    CreditState &credit = app.credit;
    storeRelaxed(app.menu.state, Result);
    app.play.displayedScore = 0;
    app.play.resultTime = timerNowMs();
    enterRanking(credit.creditScore);
    trace("credit %d", credit.creditScore);
}

}  // namespace

void finishSong()
{
    PlayState &play = app.play;
    CreditState &credit = app.credit;
    for (int k = Miss; k <= Great; k++)
        credit.creditJudgementCounts[k] += play.judgementCounts[k];
    play.resultTime = timerNowMs();
    credit.songEndHandled = 1;

    const int level = selectedLevel();
    const double songScore = play.score;
    credit.clearBonus = clearBonusFor(play.gauge, app.chart.clearNorm, level);
    const int booked = bookedStageScore(play.score, credit.clearBonus);
    credit.stageScores[credit.stage] = booked;
    if (app.menu.autoplay == 0) {
        play.score += credit.clearBonus;
        credit.creditScore += booked;
        if (booked >= unlockThreshold(level))
            credit.extraUnlocked = 1;
    }
    trace("song end miss=%d good=%d great=%d score=%.0f gauge=%.1f bonus=%d %s",
          play.judgementCounts[Miss], play.judgementCounts[Good], play.judgementCounts[Great], songScore,
          play.gauge, credit.clearBonus, songCleared(play.gauge, app.chart.clearNorm) ? "CLEAR" : "FAILED");
}

void leaveSong()
{
    CreditState &credit = app.credit;
    Catalogue &catalogue = app.catalogue;
    waitForKeyRelease(KeySpace, 1);
    storeRelaxed(app.menu.state, Select);
    if (app.menu.autoplay == 0) {
        credit.stage++;
        app.menu.selectedSong = cursorAfterStage(catalogue.songs, catalogue.songCount, credit.extraUnlocked);
    }
    credit.songEndHandled = 0;
    if (credit.stage >= StagesPerCredit)
        endCredit();
}
