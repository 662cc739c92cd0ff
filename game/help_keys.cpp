#include "game/help_keys.h"

#include "game/key_wait.h"
#include "platform/keys.h"
#include "platform/trace.h"
#include "rules/help_state.h"
#include "rules/menu_state.h"

namespace {

// Every virtual-key code: the platform reports only the keys the game knows, so this asks each.
constexpr int VirtualKeyCount = 256;

int firstKeyDown()
{
    for (int key = 1; key < VirtualKeyCount; key++) {
        if (keyIsDown(key))
            return key;
    }
    return 0;
}

} // namespace

bool updateHelpPage(int state)
{
    if (help.shown != 0) {
        // Any key closes the page, one the game has no use for too. A key the screens know is let
        // go first, so it does not act on the screen below.
        if (keyAnyPressed()) {
            const int key = firstKeyDown();
            if (key != 0)
                waitForKeyRelease(key, 1);
            help.shown = 0;
            trace("help closed");
        }
        return true;
    }
    if ((state != Title && state != Select) || !keyIsDown(KeyF1))
        return false;
    waitForKeyRelease(KeyF1, 1);
    help.shown = 1;
    trace("help shown");
    return true;
}
