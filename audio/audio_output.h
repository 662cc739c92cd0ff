#pragma once
// Starts the real audio output at start-up (reporting once when there is none) and stops it at shutdown.
void startAudioOutput();
void stopAudioOutput();
