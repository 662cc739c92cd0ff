#pragma once
#include "app/app_context.h"
#include "game/repeat_gate.h"
#include "rules/screen_control.h"
#include "platform/keys.h"

// A repeatable menu key counts as held when the key is down or its on-screen control is held.
inline bool keyOrControlHeld(int virtualKey, int controlCode)
{
    return keyIsDown(virtualKey) || app.window.controlCode == controlCode;
}
