#pragma once
#include "app/app_context.h"
#include "game/repeat_gate.h"
#include "platform/keys.h"

// Key codes the on-screen controls stand for while held.
constexpr int CodePreviousSong = 2;
constexpr int CodeNextSong = 4;
constexpr int CodeScrollSpeed = 7;
constexpr int CodeWaveType = 8;
constexpr int CodeUnison = 9;

// The down test of keyIsDown on a state already polled.
inline bool keyStateIsDown(uint16_t state) { return (state & 0xFFF0) != 0; }

// A repeatable menu key counts as held when the key is down or its on-screen control is held.
inline bool keyOrControlHeld(int virtualKey, int controlCode)
{
    return keyIsDown(virtualKey) || app.window.controlCode == controlCode;
}
