#pragma once
// PCM output: logical devices in the manner of the classic queued-buffer audio API, all mixed
// into the one real output device. Samples are always signed 16-bit little-endian, interleaved.
#include <atomic>
#include <cstdint>

using PcmDevice = int; // 0 = no device
constexpr int PcmOk = 0;
constexpr int PcmErrorInvalidHandle = 5;
constexpr int PcmErrorNoMemory = 7; // no device slot, queue slot or memory left
constexpr int PcmErrorBadFormat = 32;
constexpr int PcmErrorStillPlaying = 33;

struct PcmFormat {
    int channels = 1;
    int sampleRate = 44100;
};

// One buffer handed to a device. The device holds it from pcmWrite until its done notice.
struct PcmBuffer {
    uint8_t *data = nullptr;
    uint32_t length = 0;        // bytes of sound in data
    uintptr_t user = 0;         // returned with the done notice (a voice's ring slot)
    std::atomic<int> queued{0}; // 1 while the device holds the buffer
};

// Called on the audio thread when a buffer has been played through or returned by a reset.
using PcmDoneCallback = void (*)(void *instance, PcmBuffer *buffer);

// Starts the one real output: the SDL device, or, when none can be opened, a silent thread that
// pulls the mixer at real-time pace so clocks still run. Returns false when no device opened.
bool pcmStartOutput();
void pcmStopOutput();
// Name of the driver in use ("pulseaudio", "alsa", "dummy", "silent", ...), its rate and buffer frames.
const char *pcmDriverName();
int pcmOutputRate();
int pcmOutputBufferFrames();
// Pulls of the output that came after it had played every frame mixed before (heard as gaps).
uint64_t pcmUnderruns();

// Opens a logical device (main thread). With a callback, done notices go to it on the audio
// thread; without one they wait for the main thread in the notice queue (pcmTakeWindowNotice).
// Rates from 1000 to 384000 Hz and 1 to 255 channels are accepted.
int pcmOpen(PcmDevice *out, const PcmFormat &format, PcmDoneCallback callback, void *instance);
// Queues a buffer; it plays after every buffer written before it. One thread writes a device.
// A buffer the device still holds is refused with PcmErrorStillPlaying.
int pcmWrite(PcmDevice device, PcmBuffer *buffer);
// Stops the device and returns every queued buffer (with done notices, on the calling thread);
// the position restarts at 0. The writing thread calls it, never a done callback.
void pcmReset(PcmDevice device);
// Frames of this device the listener has heard since open or the last reset. Never goes back
// until the next reset; any thread may ask, even while another thread resets the device.
uint64_t pcmPositionFrames(PcmDevice device);
// Holds a device still (main thread): nothing more of it is mixed and its position stands once
// what was already mixed has been heard; unpaused, it goes on from the frame it stopped at.
// Opening a device starts it unpaused.
void pcmSetPaused(PcmDevice device, bool paused);
// Stops the device and lets go of its buffers without done notices (main thread).
void pcmClose(PcmDevice device);
// Main thread: takes one done notice of a device opened without a callback.
bool pcmTakeWindowNotice(PcmDevice *device, uintptr_t *user);
