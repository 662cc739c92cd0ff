#pragma once
#include "game/repeat_gate.h"
#include "platform/keys.h"
#include "rules/screen_control.h"
#include "rules/window_state.h"

// A repeatable menu key counts as held when the key is down or its on-screen control is held.
inline bool keyOrControlHeld(int virtualKey, int controlCode)
{
    return keyIsDown(virtualKey) || window.controlCode == controlCode;
}
