#pragma once

// Silences the song: the tone voices stop at once and the music stream is closed.
void stopSongSound();
