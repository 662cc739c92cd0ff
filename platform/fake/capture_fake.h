#pragma once
// Control of the fake capture device: nothing reaches the callback until a test pushes samples,
// which are handed over on the pushing thread in blocks of the device's buffer size.
void fakeSetCaptureOpens(bool opens);
// The rate and block size the next captureStart reports (44100 and 512 by default).
void fakeSetCaptureFormat(int sampleRate, int bufferFrames);
// Hands `frames` samples to the open device's callback, split into its blocks; a partial block
// waits for the next push, as a device keeps it until its buffer is full. Ignored when closed.
void fakeCapturePush(const float *samples, int frames);
// How many times captureSongStart was called since the last captureStart.
int fakeCaptureSongStarts();
