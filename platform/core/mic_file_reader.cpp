// Reading the stand-in recording: WAV chunks by hand from the whole file, Ogg Vorbis streamed through vorbisfile.
#include <vorbis/vorbisfile.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/core/mic_file.h"
#include "platform/regular_file.h"

namespace {

// An hour of 48 kHz stereo float: anything longer is not a take sung along to a song.
constexpr uint64_t MaxFileBytes = uint64_t(1) << 30;
constexpr size_t MaxFrames = size_t(48000) * 3600;

uint32_t readLe(const unsigned char *p, int bytes)
{
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; i--)
        value = (value << 8) | p[i];
    return value;
}

float sampleAt(const unsigned char *p, int bits, bool isFloat)
{
    if (isFloat) {
        const uint32_t raw = readLe(p, 4);
        float value;
        std::memcpy(&value, &raw, sizeof value);
        return value == value ? value : 0.0f; // a NaN in the file is heard as silence
    }
    if (bits == 8)
        return (int(p[0]) - 128) / 128.0f;
    const uint32_t raw = readLe(p, bits / 8) << (32 - bits);
    return static_cast<float>(static_cast<int32_t>(raw) / 2147483648.0);
}

bool readWav(const std::string &bytes, MicRecording &recording, std::string &reason)
{
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.data());
    const size_t size = bytes.size();
    int channels = 0, bits = 0, format = 0;
    uint32_t rate = 0;
    for (size_t at = 12; at + 8 <= size;) {
        const uint32_t length = readLe(data + at + 4, 4);
        const size_t body = at + 8;
        const size_t available = size - body < length ? size - body : length;
        if (std::memcmp(data + at, "fmt ", 4) == 0 && available >= 16) {
            format = int(readLe(data + body, 2));
            channels = int(readLe(data + body + 2, 2));
            rate = readLe(data + body + 4, 4);
            bits = int(readLe(data + body + 14, 2));
            if (format == 0xFFFE && available >= 26)
                format = int(readLe(data + body + 24, 2)); // the extensible header's sub-format
        } else if (std::memcmp(data + at, "data", 4) == 0) {
            const bool isFloat = format == 3 && bits == 32;
            if (!(format == 1 && (bits == 8 || bits == 16 || bits == 24 || bits == 32)) && !isFloat) {
                reason = "not a WAV format that can be read (integer PCM or 32-bit float)";
                return false;
            }
            if (channels < 1 || rate < 1000 || rate > 384000) {
                reason = "a WAV header without a usable channel count and rate";
                return false;
            }
            const size_t frameBytes = size_t(channels) * size_t(bits / 8);
            const size_t frames = available / frameBytes;
            recording.sampleRate = int(rate);
            recording.samples.resize(frames);
            for (size_t f = 0; f < frames; f++) {
                float sum = 0.0f;
                for (int c = 0; c < channels; c++)
                    sum += sampleAt(data + body + f * frameBytes + size_t(c) * size_t(bits / 8), bits, isFloat);
                recording.samples[f] = sum / float(channels);
            }
            return true;
        }
        at = body + length + (length & 1);
    }
    reason = "a WAV file without a format and a data chunk";
    return false;
}

// Takes the stream, at its start, and closes it.
bool readOgg(FILE *stream, MicRecording &recording, std::string &reason)
{
    OggVorbis_File decoder;
    if (ov_open_callbacks(stream, &decoder, nullptr, 0, OV_CALLBACKS_DEFAULT) != 0) {
        std::fclose(stream);
        reason = "not an Ogg Vorbis stream that can be decoded";
        return false;
    }
    const vorbis_info *info = ov_info(&decoder, -1);
    recording.sampleRate = info != nullptr ? int(info->rate) : 0;
    recording.samples.clear();
    int section = 0;
    float **pcm = nullptr;
    long frames;
    while ((frames = ov_read_float(&decoder, &pcm, 4096, &section)) != 0 && recording.samples.size() < MaxFrames) {
        if (frames < 0)
            continue; // a hole in the stream: the decoder goes on after it
        const int channels = ov_info(&decoder, section)->channels;
        for (long f = 0; f < frames; f++) {
            float sum = 0.0f;
            for (int c = 0; c < channels; c++)
                sum += pcm[c][f];
            recording.samples.push_back(sum / float(channels));
        }
    }
    ov_clear(&decoder);
    if (recording.sampleRate < 1000) {
        reason = "an Ogg Vorbis stream without a usable rate";
        return false;
    }
    return true;
}

} // namespace

bool micRecordingLoad(const std::string &path, MicRecording &recording, std::string &reason)
{
    recording = MicRecording{};
    // Only the header tells the format: an Ogg file is decoded from the stream, never held whole.
    FILE *stream = openRegularStream(path, MaxFileBytes, reason);
    if (stream == nullptr)
        return false;
    char header[12];
    const size_t got = std::fread(header, 1, sizeof header, stream);
    if (std::ferror(stream)) {
        reason = std::strerror(errno);
        std::fclose(stream);
        return false;
    }
    if (got >= 4 && std::memcmp(header, "OggS", 4) == 0) {
        std::rewind(stream);
        return readOgg(stream, recording, reason);
    }
    std::fclose(stream);
    if (got == sizeof header && std::memcmp(header, "RIFF", 4) == 0 && std::memcmp(header + 8, "WAVE", 4) == 0) {
        std::string bytes;
        return readRegularFile(path, MaxFileBytes, bytes, reason) == FileStatus::Opened &&
               readWav(bytes, recording, reason);
    }
    reason = "neither a WAV nor an Ogg Vorbis file";
    return false;
}
