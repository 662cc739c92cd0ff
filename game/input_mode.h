#pragma once
// Mouse or voice: switching the input mode starts or stops the capture device.

// Sets the mode and, for voice, opens the capture device; without one the mode stays voice (so
// the choice is kept) but the mouse plays, after the platform's stderr line.
void setInputMode(int input);
// Title and select screens: V switches the mode, saves it as Input=mouse|voice and traces it.
void updateInputModeKey();
// Shutdown: the capture device is closed.
void stopVoiceInput();
