#pragma once
// Loudness of each tone voice with the pointer at client row y: full over the upper 35/48 of the
// client area, fading to silence at the bottom edge, shared among the unison voices.
double voiceGainForPointer(int y, int clientHeight, int unison);

// The loudness a song starts with, before the pointer moves: 0.75 shared among the unison voices.
double startingVoiceGain(int unison);
