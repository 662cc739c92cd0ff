#include "audio/music_stream.h"

int MusicStream::openFile(const char *) { return -1; }
int MusicStream::open() { return 0; }
int MusicStream::openSilent(uint32_t) { return 0; }
int MusicStream::refill() { return 1; }
bool MusicStream::positionMs(uint32_t &outMs) { outMs = 0; return true; }
void MusicStream::close() {}
void MusicStream::onBufferDone(void *, PcmBuffer *) {}
