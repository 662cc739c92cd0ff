#pragma once
// The output side of the PCM mixer, for the backends and for tests that pull frames directly.
// Every open logical device is mixed into one stream of 44100 Hz stereo S16 frames.
#include <cstdint>

constexpr int PcmMixRate = 44100;
constexpr int PcmMixChannels = 2;

// Starts a fresh output clock: `latencyFrames` is how many frames still sit between the mixer and
// the listener right after a pull; `clockUs` is a monotonic microsecond clock that places the
// pulls in time and moves the heard position on between them.
void pcmMixerStartOutput(int latencyFrames, uint64_t (*clockUs)());
// Audio thread only: mixes the next `frames` frames of every open device into `out`.
// Never allocates, blocks or waits.
void pcmMixerPull(int16_t *out, int frames);

uint64_t pcmSteadyClockUs();
// Microseconds of output the listener has heard since the output started: the clock the music
// keeps, which a driver that runs slow (the dummy one) holds back with it. Any thread.
uint64_t pcmHeardOutputUs();

// A thread that pulls the mixer at real-time pace into nowhere, so clocks run and songs end
// when no real output could be opened.
void pcmStartSilentOutput(int bufferFrames);
void pcmStopSilentOutput();

// For measurements: called on the audio thread after every pull with what it mixed and the
// output clock's time of the pull. Null stops it.
using PcmPullObserver = void (*)(const int16_t *out, int frames, uint64_t nowUs);
void pcmMixerObservePulls(PcmPullObserver observer);
