// The capture device: SDL's recording device at its own rate, mono float, or the stand-in
// recording named by LUMATIDE_MIC_FILE. SDL calls back on its own audio thread.
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/capture.h"
#include "platform/core/mic_file.h"
#include "platform/core/pcm_mixer.h"

namespace {

SDL_AudioDeviceID captureDevice = 0;
bool fromFile = false;
CaptureBlockCallback blockCallback = nullptr;
void *blockInstance = nullptr;

void deliver(void *, Uint8 *stream, int length)
{
    const auto *samples = reinterpret_cast<const float *>(stream);
    const int frames = length / int(sizeof(float));
    for (int at = 0; at < frames; at += CaptureMaxBlockFrames)
        blockCallback(blockInstance, samples + at, std::min(CaptureMaxBlockFrames, frames - at));
}

bool startFromFile(const char *path, CaptureInfo *info)
{
    MicRecording recording;
    std::string reason;
    if (!micRecordingLoad(path, recording, reason)) {
        std::fprintf(stderr, "lumatide: %s: %s; no voice, playing with the mouse\n", path, reason.c_str());
        return false;
    }
    const int rate = recording.sampleRate;
    if (!micFileStart(std::move(recording), blockCallback, blockInstance, pcmHeardOutputUs)) {
        std::fprintf(stderr, "lumatide: %s: no thread to play it; no voice, playing with the mouse\n", path);
        return false;
    }
    fromFile = true;
    if (info != nullptr)
        *info = CaptureInfo{rate, CaptureMaxBlockFrames};
    return true;
}

bool startDevice(CaptureInfo *info)
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "lumatide: no capture device could be opened (%s); playing with the mouse\n",
                     SDL_GetError());
        return false;
    }
    SDL_AudioSpec want{};
    SDL_AudioSpec have{};
    want.freq = 44100;
    want.format = AUDIO_F32SYS;
    want.channels = 1;
    want.samples = CaptureMaxBlockFrames;
    want.callback = deliver;
    // The device's own rate is kept; format, channels and block size are SDL's to convert.
    captureDevice = SDL_OpenAudioDevice(nullptr, 1, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (captureDevice == 0) {
        std::fprintf(stderr, "lumatide: no capture device could be opened (%s); playing with the mouse\n",
                     SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    if (info != nullptr)
        *info = CaptureInfo{have.freq, have.samples};
    SDL_PauseAudioDevice(captureDevice, 0);
    return true;
}

} // namespace

bool captureStart(CaptureBlockCallback callback, void *instance, CaptureInfo *info)
{
    captureStop();
    blockCallback = callback;
    blockInstance = instance;
    const char *path = std::getenv("LUMATIDE_MIC_FILE");
    if (path != nullptr && path[0] != '\0')
        return startFromFile(path, info);
    return startDevice(info);
}

void captureStop()
{
    if (captureDevice != 0) {
        SDL_CloseAudioDevice(captureDevice);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        captureDevice = 0;
    }
    if (fromFile) {
        micFileStop();
        fromFile = false;
    }
}

void captureSongStart()
{
    if (fromFile)
        micFileSongStart();
}
