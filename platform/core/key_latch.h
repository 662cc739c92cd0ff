#pragma once
#include <atomic>
#include <cstdint>

// Key state built from key-down and key-up events, read by polling. Besides the held state it
// remembers a press until the next poll or the end of the frame, whichever comes first, so a key
// pressed and released within a frame reads as down for exactly one poll of that frame. Events
// may come from one thread while another polls.
struct KeyLatch {
    static constexpr int KeyCount = 256;
    std::atomic<uint8_t> held[KeyCount] = {};
    std::atomic<uint8_t> pressedSincePoll[KeyCount] = {};
    std::atomic<uint8_t> anyPressed{0}; // some key went down, known to the game or not
};

// A press of a key the game polls; it counts as some key going down too.
void keyLatchPress(KeyLatch &latch, int virtualKey);
// A press of a key the game has no code for: only "some key went down" hears it.
void keyLatchPressOther(KeyLatch &latch);
void keyLatchRelease(KeyLatch &latch, int virtualKey);
// Lets go of every held key (focus lost: their key-up events will not come). A press of this
// frame still reads as one tap: the user made it before the focus went.
void keyLatchReleaseAll(KeyLatch &latch);
// Forgets every press that no poll has read, the "some key" press included.
void keyLatchEndFrame(KeyLatch &latch);
// The 16-bit key state, KeyDownBit when down; clears the remembered press.
uint16_t keyLatchPoll(KeyLatch &latch, int virtualKey);
// Whether some key went down since the last end of frame or the last call; clears it.
bool keyLatchTakeAnyPress(KeyLatch &latch);
