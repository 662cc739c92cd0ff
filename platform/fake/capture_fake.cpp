#include "platform/fake/capture_fake.h"

#include <algorithm>
#include <cstdio>

#include "platform/capture.h"

namespace {
bool opens = true;
int rate = 44100;
int blockFrames = CaptureMaxBlockFrames;
CaptureBlockCallback callback = nullptr;
void *instance = nullptr;
float pending[CaptureMaxBlockFrames];
int pendingFrames = 0;
int songStarts = 0;
} // namespace

void fakeSetCaptureOpens(bool value) { opens = value; }

void fakeSetCaptureFormat(int sampleRate, int bufferFrames)
{
    rate = sampleRate;
    blockFrames = std::clamp(bufferFrames, 1, CaptureMaxBlockFrames);
}

void fakeCapturePush(const float *samples, int frames)
{
    for (int i = 0; i < frames && callback != nullptr; i++) {
        pending[pendingFrames++] = samples[i];
        if (pendingFrames == blockFrames) {
            callback(instance, pending, pendingFrames);
            pendingFrames = 0;
        }
    }
}

int fakeCaptureSongStarts() { return songStarts; }

bool captureStart(CaptureBlockCallback blockCallback, void *callbackInstance, CaptureInfo *info)
{
    if (!opens) {
        std::fprintf(stderr, "lumatide: no capture device could be opened (fake); playing with the mouse\n");
        return false;
    }
    callback = blockCallback;
    instance = callbackInstance;
    pendingFrames = 0;
    songStarts = 0;
    if (info != nullptr)
        *info = CaptureInfo{rate, blockFrames};
    return true;
}

void captureStop()
{
    callback = nullptr;
    instance = nullptr;
    pendingFrames = 0;
}

void captureSongStart() { songStarts++; }
