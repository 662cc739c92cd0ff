// One real SDL output device, 44100 Hz stereo S16; its callback only pulls the mixer.
#include <SDL.h>

#include <cstdio>

#include "platform/core/pcm_mixer.h"
#include "platform/pcm.h"

namespace {
// 11.6 ms: a press is heard up to one buffer sooner than with 1024 frames. The price is a callback
// that must come within half the time; scripts/audio_soak.sh counts the ones that come late.
constexpr int RequestedFrames = 512;

SDL_AudioDeviceID outputDevice = 0;
bool silentOutput = false;
int bufferFrames = RequestedFrames;
char driverName[32] = "none";

void pullMixer(void *, Uint8 *stream, int length)
{
    pcmMixerPull(reinterpret_cast<int16_t *>(stream), length / (PcmMixChannels * 2));
}

bool openSdlDevice()
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    SDL_AudioSpec want{};
    SDL_AudioSpec have{};
    want.freq = PcmMixRate;
    want.format = AUDIO_S16SYS;
    want.channels = PcmMixChannels;
    want.samples = RequestedFrames;
    want.callback = pullMixer;
    outputDevice = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (outputDevice == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    bufferFrames = have.samples;
    std::snprintf(driverName, sizeof driverName, "%s", SDL_GetCurrentAudioDriver());
    return true;
}
} // namespace

bool pcmStartOutput()
{
    if (outputDevice != 0 || silentOutput)
        return outputDevice != 0;
    if (openSdlDevice()) {
        // The buffer just mixed is what still lies between the mixer and the listener.
        pcmMixerStartOutput(bufferFrames, pcmSteadyClockUs);
        SDL_PauseAudioDevice(outputDevice, 0);
        return true;
    }
    std::fprintf(stderr, "lumatide: no audio output could be opened (%s); playing silently\n", SDL_GetError());
    silentOutput = true;
    bufferFrames = RequestedFrames;
    std::snprintf(driverName, sizeof driverName, "silent");
    pcmStartSilentOutput(bufferFrames);
    return false;
}

void pcmStopOutput()
{
    if (outputDevice != 0) {
        SDL_CloseAudioDevice(outputDevice);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        outputDevice = 0;
    }
    if (silentOutput) {
        pcmStopSilentOutput();
        silentOutput = false;
    }
    std::snprintf(driverName, sizeof driverName, "none");
}

const char *pcmDriverName() { return driverName; }
int pcmOutputRate() { return PcmMixRate; }
int pcmOutputBufferFrames() { return bufferFrames; }
