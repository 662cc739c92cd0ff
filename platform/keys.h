#pragma once
#include <cstdint>

// Virtual-key codes the game polls.
constexpr int KeyLeft = 0x25;
constexpr int KeyUp = 0x26;
constexpr int KeyRight = 0x27;
constexpr int KeyDown = 0x28;
constexpr int KeySpace = 0x20;
constexpr int KeyEscape = 0x1B;
constexpr int KeyE = 0x45;
constexpr int KeyW = 0x57;
constexpr int KeyZ = 0x5A;

constexpr uint16_t KeyDownBit = 0x8000;

// Asynchronous key state: the top bit means down. A key pressed and released since the last
// poll reads as down for exactly that one poll, so a tap shorter than a frame is not lost.
uint16_t keyState(int virtualKey);

// A key counts as down when any bit above the lowest four is set.
inline bool keyIsDown(int virtualKey) { return (keyState(virtualKey) & 0xFFF0) != 0; }
