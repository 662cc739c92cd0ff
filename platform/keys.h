#pragma once
#include <cstdint>

// Virtual-key codes the game polls.
constexpr int KeyLeft = 0x25;
constexpr int KeyUp = 0x26;
constexpr int KeyRight = 0x27;
constexpr int KeySpace = 0x20;
constexpr int KeyEscape = 0x1B;
constexpr int KeyEnter = 0x0D; // either Return or the keypad Enter
constexpr int KeyC = 0x43;
constexpr int KeyE = 0x45;
constexpr int KeyV = 0x56;
constexpr int KeyW = 0x57;
constexpr int KeyZ = 0x5A;
constexpr int KeyP = 0x50;
constexpr int KeyShift = 0x10; // either shift key
constexpr int KeyAlt = 0x12;   // either alt key
constexpr int KeyF11 = 0x7A;
constexpr int KeyMinus = 0xBD;
constexpr int KeyEquals = 0xBB;
constexpr int KeyLeftBracket = 0xDB;
constexpr int KeyRightBracket = 0xDD;
constexpr int KeyF1 = 0x70;

constexpr uint16_t KeyDownBit = 0x8000;

// Asynchronous key state: the top bit means down. A key pressed and released within a frame
// (a tap shorter than a frame) reads as down for exactly one poll of that frame.
uint16_t keyState(int virtualKey);

// Whether any key at all went down since the last frame, including keys with no code above; reading
// it clears it.
bool keyAnyPressed();

// The main loop calls this after every frame: a tap that no poll of the frame read is forgotten,
// so a key the current screen ignores cannot act later on another screen.
void keysEndFrame();

// A key counts as down when any bit above the lowest four of its state is set.
inline bool keyStateIsDown(uint16_t state) { return (state & 0xFFF0) != 0; }
inline bool keyIsDown(int virtualKey) { return keyStateIsDown(keyState(virtualKey)); }
