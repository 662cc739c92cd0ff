#pragma once
#include <cstdint>

#include "platform/pcm.h"

enum class MessageKind { Size, Paint, MouseMove, LeftButtonDown, LeftButtonUp, Destroy, VoiceBufferDone, FocusLost };

// A window message as the window procedure receives it.
struct WindowMessage {
    MessageKind kind = MessageKind::Paint;
    int width = 0, height = 0; // Size: new client size
    int x = 0, y = 0;          // MouseMove: client pixels, each an unsigned 16-bit number
    PcmDevice device = 0;      // VoiceBufferDone: the device that returned a buffer
    uintptr_t bufferUser = 0;  // VoiceBufferDone: the returned buffer's user value
};

// Creates the resizable, non-maximizable window with its OpenGL compatibility context
// (double buffer, 24-bit colour, 16-bit depth) and makes the context current. False on failure.
bool windowCreate(const char *title, int clientWidth, int clientHeight);
// Name of the video driver the window was opened with ("x11", "wayland", ...).
const char *windowVideoDriver();
// Tries swap interval 0; true when swaps no longer wait for the display: the driver accepted
// interval 0, or it has no swap control and never waits.
bool windowSetSwapIntervalZero();
void windowShow();
void windowSwapBuffers();
// Client area the user cannot shrink the window below; a smaller window grows to it.
void windowSetMinimumSize(int width, int height);
// Desktop full screen (the window covers its display at the display's own mode) or back to the
// window as it was; the window system answers with a size message.
void windowSetFullScreen(bool fullScreen);
// Top-down BGRA pixels, 4 bytes each; the window system copies them.
void windowSetIcon(const uint8_t *bgraPixels, int width, int height);
// Releases the GL context and the window.
void windowDestroy();
// Takes one waiting message (window events, then voice done notices) without blocking. Every
// call first reads the window system, so key events reach the polled key state at once.
bool windowTakeMessage(WindowMessage &out);
// A modal message box with an OK button. The text also goes to stderr, so a run without a
// display still tells the user.
void showMessageBox(const char *text);
