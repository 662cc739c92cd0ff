// The recording that stands in for a microphone: what it reads, what it refuses, and how it is
// played into the capture callback from each song start.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <thread>

#include "audio/ogg_encode.h"
#include "platform/core/mic_file.h"
#include "platform/core/pcm_mixer.h"

namespace {

std::string scratchPath(const std::string &name) { return testing::TempDir() + "mic_file_" + name; }

void writeBytes(const std::string &path, const std::string &bytes)
{
    FILE *file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

std::string le(uint32_t value, int bytes)
{
    std::string out;
    for (int i = 0; i < bytes; i++)
        out += char((value >> (8 * i)) & 0xFF);
    return out;
}

// A WAV file of interleaved samples in -1..1 in the given encoding (1 = integer PCM, 3 = float).
std::string wavBytes(int format, int bits, int channels, int rate, const std::vector<double> &samples)
{
    std::string data;
    for (double s : samples) {
        if (format == 3) {
            const float value = float(s);
            uint32_t raw;
            std::memcpy(&raw, &value, 4);
            data += le(raw, 4);
        } else if (bits == 8) {
            data += char(uint8_t(std::lround(s * 127.0) + 128));
        } else {
            const double scale = std::ldexp(1.0, bits - 1) - 1.0;
            data += le(uint32_t(int32_t(std::lround(s * scale))), bits / 8);
        }
    }
    const int blockAlign = channels * bits / 8;
    std::string fmt = le(uint32_t(format), 2) + le(uint32_t(channels), 2) + le(uint32_t(rate), 4) +
                      le(uint32_t(rate * blockAlign), 4) + le(uint32_t(blockAlign), 2) + le(uint32_t(bits), 2);
    // A chunk the reader must step over, with an odd length and its pad byte.
    const std::string list = "LIST" + le(3, 4) + "abc" + '\0';
    const std::string body = "WAVE" + list + "fmt " + le(uint32_t(fmt.size()), 4) + fmt + "data" +
                             le(uint32_t(data.size()), 4) + data;
    return "RIFF" + le(uint32_t(body.size()), 4) + body;
}

// Where wavBytes puts the bits per sample: RIFF header 12, the LIST chunk 12, the fmt header 8, then 14 into fmt.
constexpr size_t BitsOffset = 12 + 12 + 8 + 14;

} // namespace

TEST(MicFile, ReadsEveryWavEncodingAndOggMixedDownToMono)
{
    // Left and right channels that sum to a known mono ramp.
    std::vector<double> mono, stereo;
    for (int i = 0; i < 200; i++) {
        const double value = (i - 100) / 128.0;
        mono.push_back(value);
        stereo.push_back(value + 0.1);
        stereo.push_back(value - 0.1);
    }
    struct Row {
        const char *name;
        int format, bits, channels;
        double tolerance;
    } rows[] = {
        {"8-bit mono", 1, 8, 1, 1.0 / 100}, {"16-bit mono", 1, 16, 1, 1e-4},  {"24-bit stereo", 1, 24, 2, 1e-6},
        {"32-bit stereo", 1, 32, 2, 1e-6},  {"float stereo", 3, 32, 2, 1e-6},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const std::string path = scratchPath(std::string(row.name) + ".wav");
        writeBytes(path, wavBytes(row.format, row.bits, row.channels, 22050, row.channels == 1 ? mono : stereo));
        MicRecording recording;
        std::string reason;
        ASSERT_TRUE(micRecordingLoad(path, recording, reason)) << reason;
        EXPECT_EQ(recording.sampleRate, 22050);
        ASSERT_EQ(recording.samples.size(), mono.size());
        for (size_t i = 0; i < mono.size(); i++)
            ASSERT_NEAR(recording.samples[i], mono[i], row.tolerance) << i;
    }

    std::vector<int16_t> tone;
    for (int i = 0; i < 48000; i++)
        for (int c = 0; c < 2; c++)
            tone.push_back(int16_t(std::lround(8000.0 * std::sin(2.0 * M_PI * 440.0 * i / 48000.0))));
    const std::string oggPath = scratchPath("tone.ogg");
    ASSERT_TRUE(encodeOgg(oggPath, 2, 48000, tone));
    MicRecording recording;
    std::string reason;
    ASSERT_TRUE(micRecordingLoad(oggPath, recording, reason)) << reason;
    EXPECT_EQ(recording.sampleRate, 48000);
    EXPECT_NEAR(double(recording.samples.size()), 48000.0, 100.0);
    EXPECT_NEAR(recording.samples[24000 + 12], 8000.0 / 32768.0 * std::sin(2.0 * M_PI * 440.0 * 24012 / 48000.0), 0.02);
}

TEST(MicFile, RefusesWhatItCannotPlayWithAReason)
{
    const std::string fifo = scratchPath("pipe");
    std::remove(fifo.c_str());
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string dir = scratchPath("folder");
    mkdir(dir.c_str(), 0700);
    const std::string good = wavBytes(1, 16, 1, 44100, {0.1, 0.2});
    struct Row {
        const char *name;
        std::string bytes; // written to the file unless empty
        std::string path;
    } rows[] = {
        {"missing", "", scratchPath("nowhere.wav")},
        {"a named pipe", "", fifo},
        {"a folder", "", dir},
        {"text", "hello, this is not a recording\n", scratchPath("text.wav")},
        {"a WAV without data", good.substr(0, 44 - 8 - 4), scratchPath("nodata.wav")},
        {"12-bit WAV", wavBytes(1, 16, 1, 44100, {0.1}).replace(BitsOffset, 2, le(12, 2)), scratchPath("odd.wav")},
        {"a WAV at 10 Hz", wavBytes(1, 16, 1, 10, {0.1}), scratchPath("slow.wav")},
        {"a broken Ogg", std::string("OggS") + std::string(100, 'x'), scratchPath("broken.ogg")},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        if (!row.bytes.empty())
            writeBytes(row.path, row.bytes);
        MicRecording recording;
        std::string reason;
        EXPECT_FALSE(micRecordingLoad(row.path, recording, reason));
        EXPECT_FALSE(reason.empty());
        EXPECT_TRUE(recording.samples.empty());
    }
}

TEST(MicFile, PlaysFromTheSongStartFrameAndIsSilentBeforeAndAfter)
{
    MicRecording recording;
    recording.sampleRate = 1000;
    recording.samples = {1, 2, 3, 4, 5};
    struct Row {
        int64_t songStart, first;
        std::vector<float> out;
    } rows[] = {
        {-1, 0, {0, 0, 0, 0}},       // no song yet
        {10, 6, {0, 0, 0, 0, 1, 2}}, // the song starts inside the block
        {10, 12, {3, 4, 5, 0, 0}},   // and ends inside another
        {10, 100, {0, 0}},           {0, 0, {1, 2, 3}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(testing::Message() << row.songStart << " " << row.first);
        std::vector<float> out(row.out.size(), -9.0f);
        micRecordingFill(recording, row.songStart, row.first, out.data(), int(out.size()));
        EXPECT_EQ(out, row.out);
    }
}

namespace {
// What the feed thread handed over, kept where the test thread can read it.
std::atomic<int64_t> framesSeen{0};
std::atomic<int> largestBlock{0};
std::atomic<int64_t> songStartSeen{-1}; // output frame of the recording's first sample
std::atomic<bool> outOfOrder{false};

void onBlock(void *, const float *samples, int frames)
{
    const int64_t first = framesSeen.load(std::memory_order_relaxed);
    if (frames > largestBlock.load(std::memory_order_relaxed))
        largestBlock.store(frames, std::memory_order_relaxed);
    for (int i = 0; i < frames; i++) {
        if (samples[i] == 0.0f)
            continue;
        // Sample k of the recording holds (k + 1) / 65536.
        const int64_t start = first + i - (std::lround(samples[i] * 65536.0) - 1);
        int64_t expected = -1;
        if (!songStartSeen.compare_exchange_strong(expected, start) && expected != start)
            outOfOrder.store(true);
    }
    framesSeen.store(first + frames, std::memory_order_relaxed);
}
} // namespace

TEST(MicFile, FeedsTheRecordingInRealTimeFromTheSongStart)
{
    MicRecording recording;
    recording.sampleRate = 44100;
    for (int k = 0; k < 44100; k++)
        recording.samples.push_back(float(k + 1) / 65536.0f);
    ASSERT_TRUE(micFileStart(std::move(recording), onBlock, nullptr, pcmSteadyClockUs));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(songStartSeen.load(), -1) << "the recording played before its song started";
    const int64_t beforeStart = framesSeen.load();
    const auto start = std::chrono::steady_clock::now();
    micFileSongStart();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const int64_t afterStart = framesSeen.load();
    micFileStop();
    const double elapsedMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LE(largestBlock.load(), CaptureMaxBlockFrames);
    EXPECT_FALSE(outOfOrder.load());
    // The first sample is due no earlier than what was handed over before the start, and within
    // one block of it (the thread hands over whole blocks once their last frame is due).
    EXPECT_GE(songStartSeen.load(), beforeStart);
    EXPECT_LE(songStartSeen.load(), beforeStart + 2 * CaptureMaxBlockFrames);
    // Real-time pace: no faster than the clock, and not far behind it even on a loaded machine.
    EXPECT_LE(afterStart - beforeStart, int64_t(elapsedMs * 44.1) + CaptureMaxBlockFrames);
    EXPECT_GE(afterStart - beforeStart, int64_t(150 * 44.1));
}
