#pragma once
// The voice thread sleeps until there is work for it: a buffer came back (a slot to fill), a
// press on the play screen, a reset request, or the end of the run.
void wakeVoiceThread();
// Voice thread: sleeps until the next wakeVoiceThread, or returns at once if one came meanwhile.
void waitForVoiceWork();
// Main thread, once a frame after the screen's update: a new press of the play key wakes the
// voice thread at once, so the tone starts without waiting for a pass.
void wakeVoicesOnPress();
