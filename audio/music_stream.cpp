#include "audio/music_stream.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <vorbis/vorbisfile.h>

#include "audio/pcm_device_release.h"
#include "platform/regular_file.h"
#include "platform/trace.h"
#include "rules/settings_state.h"

struct MusicDecoder {
    OggVorbis_File file{};
};

MusicStream music;

namespace {
const char *const StateNames[] = {"Primed", "Streaming", "Draining", "Finished"};

// The callback may set Finished on the audio thread: the main thread notices it here.
void traceStateChange(MusicStream &s)
{
    const int state = s.streamState.load();
    if (state == s.tracedState)
        return;
    s.tracedState = state;
    trace("music %s", StateNames[state]);
}

std::string vorbisError(long code)
{
    switch (code) {
    case OV_EREAD:
        return "read error";
    case OV_ENOTVORBIS:
        return "not Ogg Vorbis";
    case OV_EBADHEADER:
        return "damaged Vorbis headers";
    case OV_EVERSION:
        return "a Vorbis version that cannot be played";
    case OV_EBADLINK:
        return "damaged stream";
    default:
        return "decoder error " + std::to_string(code);
    }
}

// m:ss.mmm into the music.
std::string clockText(ogg_int64_t frames, int rate)
{
    const long long ms = rate > 0 ? frames * 1000 / rate : 0;
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld.%03lld", ms / 60000, ms / 1000 % 60, ms % 1000);
    return text;
}

// The decoder has stopped, for good. A stop short of the length the file declares (pages that
// do not belong to the stream, a file cut while it played) or an error means the music is
// damaged after its headers: the song ends there all the same, and one line says where.
void reportEarlyStop(MusicStream &s, long result)
{
    const ogg_int64_t at = ov_pcm_tell(&s.decoder->file);
    const ogg_int64_t total = ov_pcm_total(&s.decoder->file, -1);
    if (result == 0 && (total < 0 || at >= total))
        return;
    const std::string why = result == 0 ? "the rest is damaged or missing" : vorbisError(result);
    std::fprintf(stderr, "lumatide: %s: decoding stops at %s of %s (%s); the song ends there\n", s.path.c_str(),
                 clockText(at, s.format.sampleRate).c_str(), clockText(total, s.format.sampleRate).c_str(),
                 why.c_str());
}

uint32_t readPiece(MusicStream &s, uint8_t *target, uint32_t maxBytes)
{
    if (s.silentSource) {
        const uint32_t bytes = uint32_t(std::min<uint64_t>(maxBytes, s.silentBytesLeft));
        std::memset(target, 0, bytes);
        s.silentBytesLeft -= bytes;
        return bytes;
    }
    if (s.decoderEnded)
        return 0;
    for (;;) {
        int section = 0;
        const long result = ov_read(&s.decoder->file, reinterpret_cast<char *>(target), int(maxBytes), 0, 2, 1,
                                    &section);
        if (result == OV_HOLE)
            continue; // a gap in the stream: the decoder has resynchronised, read on
        if (result > 0)
            return uint32_t(result);
        // Damage ends the music as the end of the file would; a negative count is never copied.
        reportEarlyStop(s, result);
        s.decoderEnded = true;
        return 0;
    }
}

// The player's music volume is taken as the music is decoded, so a change is heard once the
// buffers already queued have played.
void applyGain(const MusicStream &s, uint8_t *data, uint32_t fromByte, uint32_t toByte)
{
    const double gain = s.gain * (settings.musicVolume.load(std::memory_order_relaxed) / double(DefaultVolume));
    if (gain == 1.0)
        return;
    for (uint32_t i = fromByte / 2; i < toByte / 2; i++) {
        int16_t sample;
        std::memcpy(&sample, data + 2 * i, 2);
        const double scaled = std::trunc(sample * gain);
        sample = int16_t(std::clamp(scaled, -32768.0, 32767.0));
        std::memcpy(data + 2 * i, &sample, 2);
    }
}

void writeBuffer(MusicStream &s, PcmBuffer &buffer)
{
    if (pcmWrite(s.device, &buffer) == PcmOk)
        s.writtenCount.store(s.writtenCount.load() + 1);
}

// A stream that cannot play reports Finished at once, so the play screen never waits for it.
int failToOpen(MusicStream &s)
{
    s.close();
    s.streamState.store(Finished);
    traceStateChange(s);
    return -1;
}

// The part of open shared by music and silence: the device and the first two buffers.
int openDeviceAndFillBuffers(MusicStream &s)
{
    closeDeviceAndFreeBuffers(s.device, s.headers);
    const uint32_t blockAlign = 2 * uint32_t(s.format.channels);
    s.bufferBytes = MusicStream::BufferCapacity - MusicStream::BufferCapacity % blockAlign;
    s.bufferCount = 2;
    s.writeIndex = 0;
    s.queuedBytes = 0;
    s.playedBytes = 0;
    s.fillBytes = 0;
    s.writtenCount.store(0);
    s.doneCount.store(0);
    s.streamState.store(Primed);
    if (pcmOpen(&s.device, s.format, MusicStream::onBufferDone, &s) != PcmOk)
        return failToOpen(s);
    for (int i = 0; i < 2; i++) {
        PcmBuffer &header = s.headers[i];
        header.data = new uint8_t[s.bufferBytes]();
        uint32_t filled = 0;
        uint32_t last = 1;
        while (filled < s.bufferBytes && last > 0) {
            last = readPiece(s, header.data + filled, std::min(s.bufferBytes - filled, MusicStream::ReadPiece));
            filled += last;
        }
        header.length = filled;
        header.user = uintptr_t(i);
        applyGain(s, header.data, 0, filled);
    }
    traceStateChange(s);
    return 0;
}
} // namespace

int MusicStream::openFile(const char *filePath)
{
    close();
    path = filePath;
    openFailure.clear();
    decoderEnded = false;
    // The music is streamed, never read whole, so no size is too large.
    FILE *stream = openRegularStream(path, UINT64_MAX, openFailure);
    if (stream == nullptr)
        return -1;
    // On success the decoder owns the stream and ov_clear closes it.
    decoder = new (std::nothrow) MusicDecoder();
    const int result = decoder != nullptr ? ov_open_callbacks(stream, &decoder->file, nullptr, 0, OV_CALLBACKS_DEFAULT)
                                          : OV_EFAULT;
    if (result != 0) {
        std::fclose(stream);
        openFailure = vorbisError(result);
    }
    decoderOpen = result == 0;
    if (!decoderOpen) {
        delete decoder;
        decoder = nullptr;
    }
    return result;
}

int MusicStream::open()
{
    const vorbis_info *info = decoderOpen ? ov_info(&decoder->file, -1) : nullptr;
    if (info == nullptr)
        return failToOpen(*this);
    format = PcmFormat{info->channels, int(info->rate)};
    silentSource = false;
    return openDeviceAndFillBuffers(*this);
}

int MusicStream::openSilent(uint32_t lengthMs)
{
    close();
    format = PcmFormat{1, 44100};
    silentSource = true;
    silentBytesLeft = uint64_t(lengthMs) * 44100 / 1000 * 2;
    return openDeviceAndFillBuffers(*this);
}

int MusicStream::refill()
{
    playedBytes = uint32_t(pcmPositionFrames(device) * 2 * format.channels);
    traceStateChange(*this);
    switch (streamState.load()) {
    case Primed:
        writeBuffer(*this, headers[0]);
        writeBuffer(*this, headers[1]);
        streamState.store(Streaming);
        traceStateChange(*this);
        return 0;
    case Finished:
        return 1;
    case Draining:
        return 0;
    default:
        break;
    }

    PcmBuffer &header = headers[writeIndex];
    const uint32_t lag = playedBytes - queuedBytes;
    // Only the position decides; a buffer the device still holds (an empty one it has not
    // reached yet) is never touched.
    if (lag < header.length || header.queued.load(std::memory_order_acquire) != 0)
        return 0;
    const bool catchUp = lag >= 1.75 * header.length;
    uint32_t readNow = 0;
    uint32_t last = 0;
    do {
        last = readPiece(*this, header.data + fillBytes + readNow,
                         std::min(bufferBytes - fillBytes - readNow, ReadPiece));
        readNow += last;
    } while (catchUp && last != 0 && fillBytes + readNow < bufferBytes);
    applyGain(*this, header.data, fillBytes, fillBytes + readNow);
    fillBytes += readNow;
    if (last > 0 && fillBytes < bufferBytes)
        return 0;

    header.length = fillBytes;
    writeBuffer(*this, header);
    queuedBytes += fillBytes;
    writeIndex = uint16_t((writeIndex + 1) % bufferCount);
    fillBytes = 0;
    if (last == 0) {
        streamState.store(Draining);
        // The last buffer may already have come back, before the callback could see Draining.
        if (doneCount.load() == writtenCount.load())
            streamState.store(Finished);
    }
    traceStateChange(*this);
    return 0;
}

bool MusicStream::positionMs(uint32_t &outMs)
{
    outMs = uint32_t(pcmPositionFrames(device) * 1000 / uint64_t(format.sampleRate));
    return true;
}

void MusicStream::close()
{
    closeDeviceAndFreeBuffers(device, headers);
    if (decoderOpen)
        ov_clear(&decoder->file);
    delete decoder;
    decoder = nullptr;
    decoderOpen = false;
    silentSource = false;
    silentBytesLeft = 0;
}

void MusicStream::onBufferDone(void *instance, PcmBuffer *)
{
    MusicStream &s = *static_cast<MusicStream *>(instance);
    const int done = s.doneCount.load() + 1;
    s.doneCount.store(done);
    if (s.streamState.load() == Draining && done == s.writtenCount.load())
        s.streamState.store(Finished);
}
