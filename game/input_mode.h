#pragma once
// Mouse or voice: switching the input mode starts or stops the capture device.

// Sets the mode and, for voice, opens the capture device; without one the mode stays voice (so
// the choice is kept) but the mouse plays, after the platform's stderr line.
void setInputMode(int input);
// Every frame: on the title and select screens V switches the mode, saves it as
// Input=mouse|voice and traces it; the voice's level is taken for the meter.
void updateInputMode();
// Shutdown: the capture device is closed.
void stopVoiceInput();
