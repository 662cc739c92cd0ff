#include "platform/core/pcm_mixer.h"

#include <samplerate.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <new>
#include <thread>

#include "platform/pcm.h"

// Who touches what: a device's format and converter are set by pcmOpen and pcmClose on the main
// thread; its buffer queue is pushed by the one thread that writes the device and read by whoever
// holds `access` (the audio thread while mixing, or a reset or close, which wait a few
// microseconds for a mix in progress and never the other way round). Positions reach the
// readers through one seqlock-guarded snapshot written by the audio thread after every pull.
namespace {

constexpr int MaxDevices = 8;
constexpr uint32_t QueueCapacity = 32; // a voice ring has 15 slots
constexpr uint32_t NoticeCapacity = 64;
constexpr int StagingFrames = 512;
constexpr int MixChunk = 1024;

enum Access { Idle, Mixing, Exclusive };

struct LogicalDevice {
    std::atomic<int> open{0};
    std::atomic<int> access{Idle};
    std::atomic<int> paused{0};

    PcmFormat format;
    int blockAlign = 2;
    PcmDoneCallback callback = nullptr;
    void *instance = nullptr;
    SRC_STATE *converter = nullptr; // null when the device already plays at the mix rate
    float *staging = nullptr;       // frames read out of the queue, not yet mixed
    float *converted = nullptr;     // one chunk of converter output
    int stagingCount = 0;
    int stagingPos = 0;
    bool flushing = false; // pushing silence through the converter to get its tail out

    PcmBuffer *queue[QueueCapacity] = {};
    uint64_t endFrame[QueueCapacity] = {}; // device frame just past each buffer that was read
    std::atomic<uint32_t> queueTail{0};
    std::atomic<uint32_t> queueDone{0};
    uint32_t queueRead = 0;
    uint32_t readFrameInBuffer = 0;

    // Device frames since open or reset: taken out of buffers, and placed into the mix.
    uint64_t readFrames = 0;
    uint64_t mixedFrames = 0;
    // The converter's current run began at device frame runStart and has given runOut mix frames.
    uint64_t runStart = 0;
    uint64_t runOut = 0;

    std::atomic<uint32_t> epoch{0};
    // The highest position reported so far, tagged with the epoch it belongs to (taggedFrames):
    // a reader that races a reset fails its compare-exchange instead of storing a stale figure
    // over the reset's 0.
    std::atomic<uint64_t> reported{0};

    uintptr_t notices[NoticeCapacity] = {};
    std::atomic<uint32_t> noticeTail{0};
    std::atomic<uint32_t> noticeHead{0};
};

struct PublishedDevice {
    std::atomic<uint32_t> epoch{0};
    std::atomic<uint64_t> mixedFrames{0};
    std::atomic<uint64_t> mixEnd{0}; // mix frame just past the device's last mixed frame
};

struct Published {
    std::atomic<uint32_t> sequence{0}; // odd while the audio thread writes
    std::atomic<double> anchorHeard{0.0};
    std::atomic<uint64_t> anchorUs{0};
    std::atomic<uint64_t> mixedTotal{0};
    PublishedDevice devices[MaxDevices];
};

// Audio thread only (and pcmMixerStartOutput before the audio thread runs).
struct PullState {
    int latencyFrames = 0;
    uint64_t mixedTotal = 0;
    bool anchored = false;
    double anchorHeard = 0.0;
    uint64_t anchorUs = 0;
    uint32_t epoch[MaxDevices] = {};
    uint64_t mixedFrames[MaxDevices] = {};
    uint64_t mixEnd[MaxDevices] = {};
    float mix[MixChunk * PcmMixChannels] = {};
};

constexpr int EpochTagShift = 48;
constexpr uint64_t FramesMask = (uint64_t(1) << EpochTagShift) - 1; // 23 years at 384 kHz

uint32_t epochTag(uint32_t epoch) { return epoch & 0xFFFF; }
uint64_t taggedFrames(uint32_t epoch, uint64_t frames)
{
    return uint64_t(epochTag(epoch)) << EpochTagShift | (frames & FramesMask);
}
uint32_t epochTagOf(uint64_t tagged) { return uint32_t(tagged >> EpochTagShift); }
uint64_t framesOf(uint64_t tagged) { return tagged & FramesMask; }

LogicalDevice devices[MaxDevices];
Published published;
PullState pull;
std::atomic<uint64_t (*)()> outputClock{pcmSteadyClockUs};
std::atomic<uint64_t> underruns{0};
std::atomic<PcmPullObserver> pullObserver{nullptr};

LogicalDevice *deviceFor(PcmDevice id)
{
    if (id < 1 || id > MaxDevices)
        return nullptr;
    return &devices[id - 1];
}

void takeExclusive(LogicalDevice &d)
{
    for (;;) {
        int idle = Idle;
        if (d.access.compare_exchange_weak(idle, Exclusive, std::memory_order_acquire))
            return;
        std::this_thread::yield();
    }
}

void releaseAccess(LogicalDevice &d) { d.access.store(Idle, std::memory_order_release); }

void returnBuffer(LogicalDevice &d, PcmBuffer *buffer, bool notify)
{
    const uintptr_t user = buffer->user;
    buffer->queued.store(0, std::memory_order_release);
    if (!notify)
        return;
    if (d.callback != nullptr) {
        d.callback(d.instance, buffer);
        return;
    }
    const uint32_t tail = d.noticeTail.load(std::memory_order_relaxed);
    if (tail - d.noticeHead.load(std::memory_order_acquire) == NoticeCapacity)
        return; // the main thread is far behind; its ring state catches up with a later notice
    d.notices[tail % NoticeCapacity] = user;
    d.noticeTail.store(tail + 1, std::memory_order_release);
}

// Drops whatever is staged or held in the converter; the next frames read start a new run.
void startFreshRun(LogicalDevice &d)
{
    if (d.converter != nullptr)
        src_reset(d.converter);
    d.runStart = d.readFrames;
    d.runOut = 0;
    d.stagingCount = d.stagingPos = 0;
    d.flushing = false;
}

// Gives back every buffer and starts the device's frame count again, as if freshly opened.
void returnEverything(LogicalDevice &d, bool notify)
{
    const uint32_t tail = d.queueTail.load(std::memory_order_acquire);
    for (uint32_t i = d.queueDone.load(std::memory_order_relaxed); i != tail; i++) {
        // Once queueDone passes the slot, the writing thread may fill it with its next buffer.
        PcmBuffer *buffer = d.queue[i % QueueCapacity];
        d.queueDone.store(i + 1, std::memory_order_release);
        returnBuffer(d, buffer, notify);
    }
    d.queueRead = tail;
    d.readFrameInBuffer = 0;
    d.readFrames = d.mixedFrames = 0;
    startFreshRun(d);
    const uint32_t epoch = d.epoch.fetch_add(1, std::memory_order_release) + 1;
    d.reported.store(taggedFrames(epoch, 0), std::memory_order_release);
}

int readQueuedFrames(LogicalDevice &d, float *out, int maxFrames)
{
    const int channels = d.format.channels;
    const uint32_t tail = d.queueTail.load(std::memory_order_acquire);
    int count = 0;
    while (count < maxFrames && d.queueRead != tail) {
        const uint32_t slot = d.queueRead % QueueCapacity;
        const PcmBuffer *buffer = d.queue[slot];
        const uint32_t frames = buffer->length / d.blockAlign;
        if (d.readFrameInBuffer == 0)
            d.endFrame[slot] = d.readFrames + frames;
        const uint32_t take = std::min<uint32_t>(frames - d.readFrameInBuffer, maxFrames - count);
        const uint8_t *source = buffer->data + size_t(d.readFrameInBuffer) * d.blockAlign;
        float *target = out + size_t(count) * channels;
        for (uint32_t i = 0; i < take * channels; i++) {
            int16_t sample;
            std::memcpy(&sample, source + 2 * i, 2);
            target[i] = sample;
        }
        count += take;
        d.readFrameInBuffer += take;
        d.readFrames += take;
        if (d.readFrameInBuffer == frames) {
            d.queueRead++;
            d.readFrameInBuffer = 0;
        }
    }
    return count;
}

// A buffer comes back once its last frame is mixed, one output buffer before the listener hears
// it. That is harmless: its samples are already copied out, so the owner may refill it at once;
// a voice only tops up its ring a little sooner; and the music's Finished comes that much before
// its last sound, which still plays out of the output buffer while the song end is shown. The
// positions count heard frames, not returned buffers.
void returnPlayedBuffers(LogicalDevice &d)
{
    uint32_t done = d.queueDone.load(std::memory_order_relaxed);
    while (done != d.queueRead && d.endFrame[done % QueueCapacity] <= d.mixedFrames) {
        PcmBuffer *buffer = d.queue[done % QueueCapacity];
        d.queueDone.store(++done, std::memory_order_release);
        returnBuffer(d, buffer, true);
    }
}

// The converter holds back a few frames until it sees what follows them; once the queue runs
// dry those frames are pushed out with silence, so the end of the music is heard in full.
bool refillStaging(LogicalDevice &d)
{
    d.stagingPos = 0;
    if (!d.flushing) {
        d.stagingCount = readQueuedFrames(d, d.staging, StagingFrames);
        if (d.stagingCount > 0)
            return true;
        if (d.converter == nullptr || d.mixedFrames == d.readFrames)
            return false;
        d.flushing = true;
    }
    std::fill(d.staging, d.staging + size_t(StagingFrames) * d.format.channels, 0.0f);
    d.stagingCount = StagingFrames;
    return true;
}

void addToMix(float *mix, const float *frames, int count, int channels)
{
    if (channels == 1) {
        for (int i = 0; i < count; i++) {
            mix[2 * i] += frames[i];
            mix[2 * i + 1] += frames[i];
        }
    } else if (channels == 2) {
        for (int i = 0; i < 2 * count; i++)
            mix[i] += frames[i];
    } else {
        for (int i = 0; i < count; i++) {
            float sum = 0.0f;
            for (int c = 0; c < channels; c++)
                sum += frames[i * channels + c];
            mix[2 * i] += sum / channels;
            mix[2 * i + 1] += sum / channels;
        }
    }
}

// Returns how many mix frames the device filled from the start of `mix`.
int mixDevice(LogicalDevice &d, float *mix, int frames)
{
    const int channels = d.format.channels;
    int produced = 0;
    while (produced < frames) {
        if (d.stagingPos == d.stagingCount && !refillStaging(d))
            break;
        const float *in = d.staging + size_t(d.stagingPos) * channels;
        const int available = d.stagingCount - d.stagingPos;
        if (d.converter == nullptr) {
            const int take = std::min(available, frames - produced);
            addToMix(mix + 2 * produced, in, take, channels);
            d.stagingPos += take;
            produced += take;
            d.mixedFrames += take;
        } else {
            SRC_DATA data{};
            data.data_in = in;
            data.input_frames = available;
            data.data_out = d.converted;
            data.output_frames = frames - produced;
            data.src_ratio = double(PcmMixRate) / d.format.sampleRate;
            if (src_process(d.converter, &data) != 0)
                break;
            addToMix(mix + 2 * produced, d.converted, int(data.output_frames_gen), channels);
            d.stagingPos += int(data.input_frames_used);
            produced += int(data.output_frames_gen);
            d.runOut += uint64_t(data.output_frames_gen);
            d.mixedFrames = std::min(d.readFrames, d.runStart + d.runOut * d.format.sampleRate / PcmMixRate);
            if (d.flushing && d.mixedFrames == d.readFrames)
                startFreshRun(d);
            else if (data.input_frames_used == 0 && data.output_frames_gen == 0)
                break;
        }
        returnPlayedBuffers(d);
    }
    returnPlayedBuffers(d);
    return produced;
}

void mixChunk(int16_t *out, int frames)
{
    std::fill(pull.mix, pull.mix + PcmMixChannels * frames, 0.0f);
    for (int i = 0; i < MaxDevices; i++) {
        LogicalDevice &d = devices[i];
        int idle = Idle;
        if (!d.access.compare_exchange_strong(idle, Mixing, std::memory_order_acquire))
            continue; // being reset or closed: it has nothing to play this time
        if (d.open.load(std::memory_order_acquire) != 0 && d.paused.load(std::memory_order_relaxed) == 0) {
            const uint32_t epoch = d.epoch.load(std::memory_order_relaxed);
            if (epoch != pull.epoch[i]) {
                pull.epoch[i] = epoch;
                pull.mixEnd[i] = 0;
            }
            const int produced = mixDevice(d, pull.mix, frames);
            if (produced > 0)
                pull.mixEnd[i] = pull.mixedTotal + produced;
            pull.mixedFrames[i] = d.mixedFrames;
        }
        releaseAccess(d);
    }
    for (int i = 0; i < PcmMixChannels * frames; i++) {
        const long sample = std::lrint(pull.mix[i]);
        out[i] = int16_t(std::clamp(sample, -32768L, 32767L));
    }
    pull.mixedTotal += frames;
}

// The anchor's heard position carried on to nowUs at the mixing rate.
double anchorMovedOn(double anchorHeard, uint64_t anchorUs, uint64_t nowUs)
{
    const double elapsedUs = nowUs > anchorUs ? double(nowUs - anchorUs) : 0.0;
    return anchorHeard + elapsedUs * PcmMixRate / 1e6;
}

// The heard position follows the pulls, but callbacks come with a millisecond or two of jitter:
// the anchor runs on at the clock's pace and is pulled an eighth of the way towards each
// pull's own figure, so the song clock moves smoothly. A large gap (start, stall) resets it,
// and so do pulls that come without the clock moving (a burst, or a test pulling by hand).
void moveAnchor(uint64_t nowUs, int frames)
{
    const double raw = std::max(0.0, double(pull.mixedTotal) - pull.latencyFrames);
    if (pull.anchored && nowUs > pull.anchorUs) {
        const double predicted = anchorMovedOn(pull.anchorHeard, pull.anchorUs, nowUs);
        const double error = raw - predicted;
        const double tolerance = std::max(frames, pull.latencyFrames);
        pull.anchorHeard = std::fabs(error) <= tolerance ? predicted + error / 8 : raw;
    } else {
        pull.anchorHeard = raw;
        pull.anchored = true;
    }
    pull.anchorHeard = std::min(pull.anchorHeard, double(pull.mixedTotal));
    pull.anchorUs = nowUs;
}

// Every field is stored with release and loaded with acquire, so the seqlock needs no fences
// (which ThreadSanitizer cannot follow): a reader that sees any field of a newer publish also
// sees the odd sequence stored before it, and its second look at the sequence fails.
void publish()
{
    const uint32_t sequence = published.sequence.load(std::memory_order_relaxed);
    published.sequence.store(sequence + 1, std::memory_order_relaxed);
    published.anchorHeard.store(pull.anchorHeard, std::memory_order_release);
    published.anchorUs.store(pull.anchorUs, std::memory_order_release);
    published.mixedTotal.store(pull.mixedTotal, std::memory_order_release);
    for (int i = 0; i < MaxDevices; i++) {
        published.devices[i].epoch.store(pull.epoch[i], std::memory_order_release);
        published.devices[i].mixedFrames.store(pull.mixedFrames[i], std::memory_order_release);
        published.devices[i].mixEnd.store(pull.mixEnd[i], std::memory_order_release);
    }
    published.sequence.store(sequence + 2, std::memory_order_release);
}

struct DeviceSnapshot {
    double anchorHeard;
    uint64_t anchorUs;
    uint64_t mixedTotal;
    uint32_t epoch;
    uint64_t mixedFrames;
    uint64_t mixEnd;
};

DeviceSnapshot readSnapshot(int index)
{
    DeviceSnapshot s{};
    for (;;) {
        const uint32_t before = published.sequence.load(std::memory_order_acquire);
        if (before % 2 != 0) {
            std::this_thread::yield();
            continue;
        }
        s.anchorHeard = published.anchorHeard.load(std::memory_order_acquire);
        s.anchorUs = published.anchorUs.load(std::memory_order_acquire);
        s.mixedTotal = published.mixedTotal.load(std::memory_order_acquire);
        s.epoch = published.devices[index].epoch.load(std::memory_order_acquire);
        s.mixedFrames = published.devices[index].mixedFrames.load(std::memory_order_acquire);
        s.mixEnd = published.devices[index].mixEnd.load(std::memory_order_acquire);
        if (published.sequence.load(std::memory_order_relaxed) == before)
            return s;
    }
}

// Mix frames the listener has heard by now: the anchor moved on by the time since, never past
// what was mixed.
double heardMixFrames(const DeviceSnapshot &s)
{
    const uint64_t nowUs = outputClock.load(std::memory_order_relaxed)();
    return std::min(anchorMovedOn(s.anchorHeard, s.anchorUs, nowUs), double(s.mixedTotal));
}

void freeDeviceMemory(LogicalDevice &d)
{
    if (d.converter != nullptr)
        src_delete(d.converter);
    delete[] d.staging;
    delete[] d.converted;
    d.converter = nullptr;
    d.staging = nullptr;
    d.converted = nullptr;
}

} // namespace

uint64_t pcmSteadyClockUs()
{
    using namespace std::chrono;
    return uint64_t(duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
}

uint64_t pcmHeardOutputUs() { return uint64_t(heardMixFrames(readSnapshot(0)) * 1e6 / PcmMixRate); }

void pcmMixerStartOutput(int latencyFrames, uint64_t (*clockUs)())
{
    outputClock.store(clockUs, std::memory_order_relaxed);
    pull.latencyFrames = latencyFrames;
    pull.mixedTotal = 0;
    pull.anchored = false;
    pull.anchorHeard = 0.0;
    pull.anchorUs = clockUs();
    for (int i = 0; i < MaxDevices; i++)
        pull.mixEnd[i] = 0;
    publish();
}

// A pull that comes after the listener would have heard every frame mixed so far comes too late:
// the output played a gap. Half a buffer of slack covers the callbacks' own jitter.
void countUnderrun(uint64_t nowUs)
{
    if (!pull.anchored || nowUs <= pull.anchorUs)
        return;
    const double heard = anchorMovedOn(pull.anchorHeard, pull.anchorUs, nowUs);
    if (heard > double(pull.mixedTotal) + pull.latencyFrames / 2.0)
        underruns.store(underruns.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
}

void pcmMixerPull(int16_t *out, int frames)
{
    const uint64_t nowUs = outputClock.load(std::memory_order_relaxed)();
    countUnderrun(nowUs);
    for (int done = 0; done < frames; done += MixChunk)
        mixChunk(out + PcmMixChannels * done, std::min(MixChunk, frames - done));
    moveAnchor(nowUs, frames);
    publish();
    if (const PcmPullObserver observer = pullObserver.load(std::memory_order_acquire))
        observer(out, frames, nowUs);
}

void pcmMixerObservePulls(PcmPullObserver observer) { pullObserver.store(observer, std::memory_order_release); }

uint64_t pcmUnderruns() { return underruns.load(std::memory_order_relaxed); }

int pcmOpen(PcmDevice *out, const PcmFormat &format, PcmDoneCallback callback, void *instance)
{
    *out = 0;
    if (format.channels < 1 || format.channels > 255 || format.sampleRate < 1000 || format.sampleRate > 384000)
        return PcmErrorBadFormat;
    for (int i = 0; i < MaxDevices; i++) {
        LogicalDevice &d = devices[i];
        if (d.open.load(std::memory_order_relaxed) != 0)
            continue;
        takeExclusive(d);
        d.format = format;
        d.blockAlign = 2 * format.channels;
        d.callback = callback;
        d.instance = instance;
        const size_t stagingFloats = size_t(StagingFrames) * format.channels;
        d.staging = new (std::nothrow) float[stagingFloats]();
        bool ready = d.staging != nullptr;
        if (ready && format.sampleRate != PcmMixRate) {
            int error = 0;
            d.converter = src_new(SRC_SINC_FASTEST, format.channels, &error);
            d.converted = new (std::nothrow) float[size_t(MixChunk) * format.channels]();
            ready = d.converter != nullptr && d.converted != nullptr;
        }
        if (!ready) {
            freeDeviceMemory(d);
            releaseAccess(d);
            return PcmErrorNoMemory;
        }
        d.queueTail.store(0, std::memory_order_relaxed);
        d.queueDone.store(0, std::memory_order_relaxed);
        d.noticeTail.store(0, std::memory_order_relaxed);
        d.noticeHead.store(0, std::memory_order_relaxed);
        returnEverything(d, false);
        d.paused.store(0, std::memory_order_relaxed);
        d.open.store(1, std::memory_order_release);
        releaseAccess(d);
        *out = i + 1;
        return PcmOk;
    }
    return PcmErrorNoMemory;
}

int pcmWrite(PcmDevice device, PcmBuffer *buffer)
{
    LogicalDevice *d = deviceFor(device);
    if (d == nullptr || buffer == nullptr || d->open.load(std::memory_order_acquire) == 0)
        return PcmErrorInvalidHandle;
    if (buffer->queued.load(std::memory_order_acquire) != 0)
        return PcmErrorStillPlaying;
    const uint32_t tail = d->queueTail.load(std::memory_order_relaxed);
    if (tail - d->queueDone.load(std::memory_order_acquire) == QueueCapacity)
        return PcmErrorNoMemory;
    buffer->queued.store(1, std::memory_order_relaxed);
    d->queue[tail % QueueCapacity] = buffer;
    d->queueTail.store(tail + 1, std::memory_order_release);
    return PcmOk;
}

void pcmReset(PcmDevice device)
{
    LogicalDevice *d = deviceFor(device);
    if (d == nullptr || d->open.load(std::memory_order_acquire) == 0)
        return;
    takeExclusive(*d);
    returnEverything(*d, true);
    releaseAccess(*d);
}

void pcmSetPaused(PcmDevice device, bool paused)
{
    if (LogicalDevice *d = deviceFor(device))
        d->paused.store(paused ? 1 : 0, std::memory_order_relaxed);
}

uint64_t pcmPositionFrames(PcmDevice device)
{
    LogicalDevice *d = deviceFor(device);
    if (d == nullptr || d->open.load(std::memory_order_acquire) == 0)
        return 0;
    uint64_t last = d->reported.load(std::memory_order_acquire);
    const DeviceSnapshot s = readSnapshot(device - 1);
    uint64_t position = 0;
    if (epochTag(s.epoch) == epochTagOf(last)) {
        const double pendingMix = std::max(0.0, double(s.mixEnd) - heardMixFrames(s));
        const double pendingDevice = pendingMix * d->format.sampleRate / PcmMixRate;
        position = uint64_t(std::max(0.0, std::floor(double(s.mixedFrames) - pendingDevice)));
    }
    while (position > framesOf(last)) {
        const uint32_t tag = epochTagOf(last);
        if (d->reported.compare_exchange_weak(last, taggedFrames(s.epoch, position), std::memory_order_acq_rel))
            return position;
        if (epochTagOf(last) != tag)
            break; // a reset landed meanwhile: what it reported stands
    }
    return framesOf(last);
}

void pcmClose(PcmDevice device)
{
    LogicalDevice *d = deviceFor(device);
    if (d == nullptr || d->open.load(std::memory_order_acquire) == 0)
        return;
    takeExclusive(*d);
    returnEverything(*d, false);
    d->open.store(0, std::memory_order_release);
    freeDeviceMemory(*d);
    d->noticeHead.store(d->noticeTail.load(std::memory_order_relaxed), std::memory_order_relaxed);
    releaseAccess(*d);
}

bool pcmTakeWindowNotice(PcmDevice *device, uintptr_t *user)
{
    for (int i = 0; i < MaxDevices; i++) {
        LogicalDevice &d = devices[i];
        if (d.open.load(std::memory_order_acquire) == 0 || d.callback != nullptr)
            continue;
        const uint32_t head = d.noticeHead.load(std::memory_order_relaxed);
        if (head == d.noticeTail.load(std::memory_order_acquire))
            continue;
        *user = d.notices[head % NoticeCapacity];
        d.noticeHead.store(head + 1, std::memory_order_release);
        *device = i + 1;
        return true;
    }
    return false;
}
