#include "game/select_screen.h"

#include <cstdio>

#include "game/catalogue_cursor.h"
#include "game/key_wait.h"
#include "game/menu_keys.h"
#include "game/setting_save.h"
#include "game/song_sound.h"
#include "game/song_start.h"
#include "library/catalogue.h"
#include "rules/atomic_access.h"
#include "rules/credit_state.h"
#include "rules/menu_state.h"
#include "rules/play_state.h"
#include "rules/scroll_speed.h"

namespace {

void leaveToTitle()
{
    waitForKeyRelease(KeyEscape, 1);
    stopSongSound();
    storeRelaxed(menu.state, Title);
}

void moveCursor(int step)
{
    menu.selectedSong = stepToSelectable(catalogue.songs, catalogue.songCount, menu.selectedSong, step,
                                         credit.extraUnlocked);
}

void updateStartKey()
{
    // One poll per key: a tap shorter than a frame reads as down for one poll only.
    const uint16_t space = keyState(KeySpace);
    const uint16_t up = keyState(KeyUp);
    if (space == 0 && up == 0)
        storeRelaxed(play.keyHeldFrames, 0);
    if (!keyStateIsDown(space) && !keyStateIsDown(up))
        return;
    const int held = loadRelaxed(play.keyHeldFrames);
    if (held == 0) {
        if (catalogue.songCount > 0)
            startSong(keyStateIsDown(up));
    } else {
        storeRelaxed(play.keyHeldFrames, countHeldFrames(held, true));
    }
}

} // namespace

void updateSelectScreen(uint32_t now)
{
    menu.autoplay = 0;
    if (keyIsDown(KeyEscape))
        leaveToTitle();

    menu.leftHeldFrames = countHeldFrames(menu.leftHeldFrames, keyOrControlHeld(KeyLeft, CodePreviousSong));
    menu.rightHeldFrames = countHeldFrames(menu.rightHeldFrames, keyOrControlHeld(KeyRight, CodeNextSong));
    menu.scrollKeyHeldFrames = countHeldFrames(menu.scrollKeyHeldFrames, keyOrControlHeld(KeyZ, CodeScrollSpeed));
    if (passRepeatGate(menu.leftHeldFrames, now, menu.lastRepeatTime))
        moveCursor(-1);
    if (passRepeatGate(menu.rightHeldFrames, now, menu.lastRepeatTime))
        moveCursor(+1);
    if (passRepeatGate(menu.scrollKeyHeldFrames, now, menu.lastRepeatTime)) {
        // Shift with Z steps back; the on-screen control only goes forward, as before.
        menu.scrollSpeed = steppedScrollSpeed(menu.scrollSpeed, keyIsDown(KeyShift) ? -1 : +1);
        char text[8];
        std::snprintf(text, sizeof text, "%.1f", menu.scrollSpeed);
        saveSetting("ScrollSpeed", text);
    }
    updateStartKey();
}
