#pragma once
// Sound capture: one input device, a microphone or the recording named by LUMATIDE_MIC_FILE that
// stands in for it. Mono float samples (full scale +-1) at the device's own rate reach a callback
// on the capture's own thread in blocks of at most CaptureMaxBlockFrames, so what is sung waits
// no longer than one block before the callback sees it.
constexpr int CaptureMaxBlockFrames = 512;

// Capture thread: one block, in order. It must not block, allocate or lock.
using CaptureBlockCallback = void (*)(void *instance, const float *samples, int frames);

struct CaptureInfo {
    int sampleRate = 0;
    int bufferFrames = 0; // frames the device gathers before it hands them over
};

// Main thread. Opens the device and starts the callbacks. False when none could be opened, after
// one stderr line that says why; the caller plays on without a voice.
bool captureStart(CaptureBlockCallback callback, void *instance, CaptureInfo *info);
// Main thread. No callback runs once it returns.
void captureStop();
// Main thread, at the song clock's zero: the stand-in recording starts from its first frame at
// this instant. A microphone ignores it.
void captureSongStart();
