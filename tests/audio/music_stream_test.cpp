#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#include <vorbis/vorbisfile.h>

#include "app/app_context.h"
#include "audio_test_support.h"
#include "ogg_encode.h"
#include "platform/trace.h"
#include "support/no_wait.h"

namespace {

constexpr int FrameStep = 735; // one 60 Hz game frame at 44100 Hz

TempFile encodedSong(const std::string &name, int channels, int rate, size_t frames)
{
    TempFile song(name + ".ogg");
    EXPECT_TRUE(encodeOgg(song.path, channels, rate, sineSamples(channels, rate, frames, 440.0)));
    return song;
}

std::vector<char> fileBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeBytes(const TempFile &file, const std::vector<char> &bytes)
{
    std::ofstream(file.path, std::ios::binary).write(bytes.data(), long(bytes.size()));
}

// Where each Ogg page of a well-formed file starts, and where the last one ends.
std::vector<size_t> pageBounds(const std::vector<char> &bytes)
{
    std::vector<size_t> bounds{0};
    while (bounds.back() + 27 <= bytes.size()) {
        const size_t at = bounds.back();
        const size_t segments = uint8_t(bytes[at + 26]);
        size_t length = 27 + segments;
        for (size_t i = 0; i < segments; i++)
            length += uint8_t(bytes[at + 27 + i]);
        bounds.push_back(at + length);
    }
    return bounds;
}

// Everything vorbisfile decodes from the file, gaps skipped, as the stream should play it.
std::vector<int16_t> decodeAll(const std::string &path)
{
    OggVorbis_File file;
    std::vector<int16_t> samples;
    if (ov_fopen(path.c_str(), &file) != 0)
        return samples;
    char piece[4096];
    int section = 0;
    long got = 0;
    while ((got = ov_read(&file, piece, sizeof piece, 0, 2, 1, &section)) != 0) {
        if (got < 0)
            continue;
        const size_t at = samples.size();
        samples.resize(at + size_t(got) / 2);
        std::memcpy(samples.data() + at, piece, size_t(got));
    }
    ov_clear(&file);
    return samples;
}

struct Played {
    int refills = 0;
    std::vector<int16_t> output; // everything pulled after the first refill
};

// The play update's loop: refill, then one frame's worth of output, until the stream is Finished.
Played playToEnd(MusicStream &stream, int framesPerStep = FrameStep)
{
    Played played;
    while (stream.refill() == 0 && played.refills < 100000) {
        played.refills++;
        const std::vector<int16_t> out = pullFrames(framesPerStep);
        played.output.insert(played.output.end(), out.begin(), out.end());
    }
    return played;
}

class Music : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetAppContext();
        startTestOutput();
    }
    void TearDown() override { music.close(); }
};

TEST_F(Music, EveryLengthReachesFinishedWithEveryFrameHeard)
{
    // Stereo at 44100 Hz: one buffer is 12800 frames.
    const size_t lengths[] = {0, 100, 12799, 12800, 12900, 20000, 25600, 38400, 50000};
    for (int latency : {0, 1024}) {
        for (size_t frames : lengths) {
            SCOPED_TRACE(testing::Message() << frames << " frames, latency " << latency);
            startTestOutput(latency);
            const TempFile song = encodedSong("length", 2, 44100, frames);
            ASSERT_EQ(music.openFile(song.c_str()), 0);
            ASSERT_EQ(music.open(), 0);
            EXPECT_EQ(music.streamState.load(), Primed);
            playToEnd(music);
            EXPECT_EQ(music.streamState.load(), Finished);
            // The end is heard once the output buffer has played out.
            testClockNowUs += 1000000;
            EXPECT_EQ(pcmPositionFrames(music.device), frames);
            uint32_t ms = 0;
            EXPECT_TRUE(music.positionMs(ms));
            EXPECT_EQ(ms, uint32_t(frames * 1000 / 44100));
        }
    }
}

TEST_F(Music, PlaysTheDecodedSamplesInOrderWithNothingDroppedOrRepeated)
{
    for (int channels : {1, 2, 3}) {
        SCOPED_TRACE(channels);
        const TempFile song = encodedSong("order", channels, 44100, 40000);
        const std::vector<int16_t> decoded = decodeAll(song.path);
        ASSERT_EQ(decoded.size(), size_t(40000 * channels));
        ASSERT_EQ(music.openFile(song.c_str()), 0);
        ASSERT_EQ(music.open(), 0);
        const Played played = playToEnd(music);
        for (size_t i = 0; i < 40000; i++) {
            int expected = decoded[i * channels];
            if (channels == 3)
                expected = int(std::lrint((decoded[i * 3] + float(decoded[i * 3 + 1]) + decoded[i * 3 + 2]) / 3));
            ASSERT_NEAR(played.output[2 * i], expected, channels == 3 ? 1 : 0) << i;
        }
        EXPECT_EQ(played.output[2 * 40000], 0);
    }
}

TEST_F(Music, MusicAtAnotherRateEndsWithEveryFrameCounted)
{
    const TempFile song = encodedSong("rate", 2, 48000, 30000);
    ASSERT_EQ(music.openFile(song.c_str()), 0);
    ASSERT_EQ(music.open(), 0);
    EXPECT_EQ(music.format.sampleRate, 48000);
    const Played played = playToEnd(music);
    EXPECT_EQ(music.streamState.load(), Finished);
    EXPECT_EQ(pcmPositionFrames(music.device), 30000u);
    EXPECT_NEAR(played.refills * FrameStep, 30000 * 44100 / 48000, 2 * FrameStep);
}

TEST_F(Music, OnlyAFrameThreeQuartersIntoTheOtherBufferDecodesTheRestAtOnce)
{
    // One buffer is 12800 stereo frames; catch-up starts at 1.75 of them, 22400 frames.
    struct Case {
        int playedFrames;
        bool catchUp;
    };
    const Case cases[] = {{12800, false}, {21760, false}, {22399, false}, {22400, true}, {23040, true}};
    const TempFile song = encodedSong("catchup", 2, 44100, 100000);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.playedFrames);
        ASSERT_EQ(music.openFile(song.c_str()), 0);
        ASSERT_EQ(music.open(), 0);
        music.refill();
        pullFrames(c.playedFrames);
        music.refill();
        if (c.catchUp) {
            EXPECT_EQ(music.fillBytes, 0u);
            EXPECT_EQ(music.writeIndex, 1);
            EXPECT_EQ(music.queuedBytes, 51200u);
            EXPECT_EQ(music.headers[0].queued.load(), 1);
        } else {
            EXPECT_GT(music.fillBytes, 0u); // one read, of at most one piece
            EXPECT_LE(music.fillBytes, MusicStream::ReadPiece);
            EXPECT_EQ(music.writeIndex, 0);
        }
    }
}

TEST_F(Music, TheFirstRefillWritesBothBuffersHoweverLateItComes)
{
    const TempFile song = encodedSong("late", 2, 44100, 40000);
    ASSERT_EQ(music.openFile(song.c_str()), 0);
    ASSERT_EQ(music.open(), 0);
    pullFrames(100000);
    EXPECT_EQ(pcmPositionFrames(music.device), 0u);
    EXPECT_EQ(music.refill(), 0);
    EXPECT_EQ(music.streamState.load(), Streaming);
    EXPECT_EQ(music.headers[0].queued.load(), 1);
    EXPECT_EQ(music.headers[1].queued.load(), 1);
    uint32_t ms = 99;
    music.positionMs(ms);
    EXPECT_EQ(ms, 0u); // counted from the first sample
    pullFrames(441);
    music.positionMs(ms);
    EXPECT_EQ(ms, 10u);
}

TEST_F(Music, EmptyMusicIsNotDrainedBeforeTheDeviceHasGivenItsBuffersBack)
{
    const TempFile song = encodedSong("empty", 2, 44100, 0);
    ASSERT_EQ(music.openFile(song.c_str()), 0);
    ASSERT_EQ(music.open(), 0);
    music.refill();
    music.refill(); // both empty buffers are still queued
    EXPECT_EQ(music.streamState.load(), Streaming);
    EXPECT_EQ(music.writtenCount.load(), 2);
    pullFrames(16);
    music.refill();
    EXPECT_EQ(music.writtenCount.load(), 3);
    pullFrames(16);
    EXPECT_EQ(music.refill(), 1);
}

TEST_F(Music, AStreamNeverOpenedOrClosedTwiceReportsTheEndAndReleasesNothingTwice)
{
    uint32_t ms = 99;
    EXPECT_EQ(music.refill(), 1);
    EXPECT_TRUE(music.positionMs(ms));
    EXPECT_EQ(ms, 0u);
    music.close();
    music.close();

    const TempFile song = encodedSong("twice", 2, 44100, 20000);
    ASSERT_EQ(music.openFile(song.c_str()), 0);
    ASSERT_EQ(music.open(), 0);
    music.refill();
    pullFrames(1000);
    music.close();
    EXPECT_EQ(music.streamState.load(), Streaming); // close leaves the state alone
    EXPECT_EQ(music.device, 0);
    EXPECT_EQ(music.headers[0].data, nullptr);
    music.close();
    EXPECT_EQ(music.open(), -1); // the decoder went with the close
    EXPECT_EQ(music.streamState.load(), Finished);
    EXPECT_EQ(music.refill(), 1);
}

TEST_F(Music, OpeningTheNextSongReleasesTheOneThatPlayedToItsEnd)
{
    const TempFile first = encodedSong("first", 2, 44100, 15000);
    const TempFile second = encodedSong("second", 1, 22050, 9000);
    ASSERT_EQ(music.openFile(first.c_str()), 0);
    ASSERT_EQ(music.open(), 0);
    playToEnd(music);
    ASSERT_EQ(music.streamState.load(), Finished);
    for (int song = 0; song < 3; song++) { // the mixer would run out of devices if any leaked
        ASSERT_EQ(music.openFile(second.c_str()), 0);
        ASSERT_EQ(music.open(), 0);
        EXPECT_EQ(music.streamState.load(), Primed);
        playToEnd(music);
        EXPECT_EQ(music.streamState.load(), Finished);
        EXPECT_EQ(pcmPositionFrames(music.device), 9000u);
    }
    for (int i = 0; i < 10; i++) // and open twice without a refill
        ASSERT_EQ(music.open(), 0);
}

TEST_F(Music, WithoutAFreeDeviceTheSongEndsAtOnce)
{
    std::vector<PcmDevice> taken;
    for (PcmDevice device = 0; pcmOpen(&device, {2, 44100}, nullptr, nullptr) == PcmOk;)
        taken.push_back(device);
    ASSERT_FALSE(taken.empty());
    const TempFile song = encodedSong("nodevice", 2, 44100, 20000);
    ASSERT_EQ(music.openFile(song.c_str()), 0);
    EXPECT_EQ(music.open(), -1);
    EXPECT_EQ(music.streamState.load(), Finished);
    EXPECT_EQ(music.openSilent(3000), -1); // the song start's fallback
    EXPECT_EQ(music.streamState.load(), Finished);
    EXPECT_EQ(music.refill(), 1);
    uint32_t ms = 99;
    music.positionMs(ms);
    EXPECT_EQ(ms, 0u);
    for (PcmDevice device : taken)
        pcmClose(device);
    EXPECT_EQ(music.openSilent(3000), 0);
}

TEST_F(Music, GainScalesEverySampleWithTruncationAndClamping)
{
    // Three buffers' worth: the third is decoded by refill, not by open.
    const TempFile song = encodedSong("gain", 2, 44100, 40000);
    const std::vector<int16_t> decoded = decodeAll(song.path);
    ASSERT_EQ(decoded.size(), 80000u);
    for (double gain : {0.5, 4.0, 0.0}) {
        SCOPED_TRACE(gain);
        music.gain = gain;
        ASSERT_EQ(music.openFile(song.c_str()), 0);
        ASSERT_EQ(music.open(), 0);
        const Played played = playToEnd(music);
        ASSERT_GE(played.output.size(), decoded.size());
        for (size_t i = 0; i < decoded.size(); i++) {
            const double exact = std::trunc(decoded[i] * gain);
            ASSERT_EQ(played.output[i], int16_t(std::clamp(exact, -32768.0, 32767.0))) << i;
        }
    }
}

// The music volume multiplies the stream's gain as the music is decoded; at 100 the samples are
// the decoder's own.
TEST_F(Music, MusicVolumeScalesEverySample)
{
    const TempFile song = encodedSong("volume", 2, 44100, 40000);
    const std::vector<int16_t> decoded = decodeAll(song.path);
    for (int volume : {100, 35, 0}) {
        SCOPED_TRACE(volume);
        settings.musicVolume.store(volume);
        ASSERT_EQ(music.openFile(song.c_str()), 0);
        ASSERT_EQ(music.open(), 0);
        const Played played = playToEnd(music);
        ASSERT_GE(played.output.size(), decoded.size());
        for (size_t i = 0; i < decoded.size(); i++) {
            const int16_t expected = volume == 100 ? decoded[i] : int16_t(std::trunc(decoded[i] * (volume / 100.0)));
            ASSERT_EQ(played.output[i], expected) << i;
        }
    }
    settings.musicVolume.store(100);
}

TEST_F(Music, AGapInTheStreamIsSkippedAndTheMusicAfterItPlays)
{
    const TempFile whole("whole.ogg");
    ASSERT_TRUE(encodeOgg(whole.path, 2, 44100, noiseSamples(2, 200000)));
    const std::vector<char> bytes = fileBytes(whole.path);
    const std::vector<size_t> bounds = pageBounds(bytes);
    ASSERT_GT(bounds.size(), 10u);
    const size_t middle = bounds.size() / 2;
    std::vector<char> gap(bytes.begin(), bytes.begin() + long(bounds[middle]));
    gap.insert(gap.end(), bytes.begin() + long(bounds[middle + 1]), bytes.end());
    const TempFile song("gap.ogg");
    writeBytes(song, gap);

    const size_t decodedFrames = decodeAll(song.path).size() / 2;
    EXPECT_GT(decodedFrames, 180000u); // one page of about 13000 frames is gone
    ASSERT_EQ(music.openFile(song.c_str()), 0);
    ASSERT_EQ(music.open(), 0);
    playToEnd(music);
    EXPECT_EQ(music.streamState.load(), Finished);
    EXPECT_EQ(pcmPositionFrames(music.device), decodedFrames);
}

TEST_F(Music, DamagedOrCutMusicStillEnds)
{
    const TempFile whole("whole.ogg");
    ASSERT_TRUE(encodeOgg(whole.path, 2, 44100, noiseSamples(2, 200000)));
    const std::vector<char> bytes = fileBytes(whole.path);
    ASSERT_GT(bytes.size(), 10000u);

    // Past the headers, which take the first few kilobytes.
    std::vector<char> damaged = bytes;
    for (size_t i = bytes.size() / 2; i < bytes.size() * 6 / 10; i++)
        damaged[i] = char(i * 7);
    std::vector<char> cut(bytes.begin(), bytes.begin() + long(bytes.size() / 2));
    for (const std::vector<char> *file : {&damaged, &cut}) {
        const TempFile broken("broken.ogg");
        writeBytes(broken, *file);
        ASSERT_EQ(music.openFile(broken.c_str()), 0);
        ASSERT_EQ(music.open(), 0);
        playToEnd(music);
        EXPECT_EQ(music.streamState.load(), Finished);
        EXPECT_GT(pcmPositionFrames(music.device), 50000u);
    }
    EXPECT_NE(music.openFile(TempFile("missing.ogg").c_str()), 0);
    EXPECT_NE(music.openFile(LUMATIDE_SOURCE_DIR "/CMakeLists.txt"), 0);
}

TEST_F(Music, SilentSourceGivesAClockAndAnEnd)
{
    ASSERT_EQ(music.openSilent(1500), 0);
    EXPECT_EQ(music.streamState.load(), Primed);
    const Played played = playToEnd(music);
    EXPECT_EQ(music.streamState.load(), Finished);
    uint32_t ms = 0;
    music.positionMs(ms);
    EXPECT_EQ(ms, 1500u);
    for (int16_t sample : played.output)
        ASSERT_EQ(sample, 0);
    ASSERT_EQ(music.openSilent(0), 0);
    playToEnd(music);
    EXPECT_EQ(music.streamState.load(), Finished);
}

TEST_F(Music, EachStateChangeIsTracedOnceInOrder)
{
    ASSERT_TRUE(traceEnabled()); // switched on by the tests' main
    const TempFile song = encodedSong("trace", 2, 44100, 30000);
    testing::internal::CaptureStderr();
    music.openFile(song.c_str());
    music.open();
    playToEnd(music);
    music.refill();
    const std::string log = testing::internal::GetCapturedStderr();
    std::vector<std::string> states;
    for (size_t at = log.find("music "); at != std::string::npos; at = log.find("music ", at + 1))
        states.push_back(log.substr(at + 6, log.find('\n', at) - at - 6));
    EXPECT_EQ(states, (std::vector<std::string>{"Primed", "Streaming", "Draining", "Finished"}));
}

// The lines of captured stderr that are messages for the user rather than trace lines.
std::vector<std::string> userMessages(const std::string &log)
{
    std::vector<std::string> messages;
    for (size_t at = 0, end; (end = log.find('\n', at)) != std::string::npos; at = end + 1) {
        if (log.compare(at, 10, "lumatide: ") == 0)
            messages.push_back(log.substr(at, end - at));
    }
    return messages;
}

// Gives the pages from index `first` up to the last one (which tells the length at open) the
// serial number of another stream, with valid checksums: the decoder takes them for pages that
// do not belong to the music and stops there.
std::vector<char> foreignPagesFrom(const std::vector<char> &bytes, size_t first)
{
    std::vector<char> changed = bytes;
    const std::vector<size_t> bounds = pageBounds(bytes);
    for (size_t i = first; i + 2 < bounds.size(); i++) {
        unsigned char *page = reinterpret_cast<unsigned char *>(changed.data() + bounds[i]);
        page[14] ^= 0x55;
        ogg_page header;
        header.header = page;
        header.header_len = 27 + page[26];
        header.body = page + header.header_len;
        header.body_len = long(bounds[i + 1] - bounds[i]) - header.header_len;
        ogg_page_checksum_set(&header);
    }
    return changed;
}

TEST_F(Music, FilesThatAreNotMusicAreRefusedAtOnce)
{
    const TempFile pipe("pipe.ogg");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const TempFile zero("zero.ogg");
    std::filesystem::create_symlink("/dev/zero", zero.path);
    const TempFile folder("folder.ogg");
    std::filesystem::create_directory(folder.path);
    const TempFile text("text.ogg");
    writeBytes(text, std::vector<char>(5000, 'x'));
    const TempFile missing("missing.ogg");
    const struct {
        const char *path;
        const char *reason;
    } cases[] = {
        {pipe.c_str(), "not a regular file (a named pipe)"}, {zero.c_str(), "not a regular file (a device)"},
        {folder.c_str(), "not a regular file (a folder)"},   {text.c_str(), "not Ogg Vorbis"},
        {missing.c_str(), "No such file or directory"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        int result = 0;
        testing::internal::CaptureStderr();
        const bool finished = finishesWithoutWaiting([&] { result = music.openFile(c.path); }, {pipe.path});
        const std::string log = testing::internal::GetCapturedStderr();
        ASSERT_TRUE(finished);
        EXPECT_NE(result, 0);
        EXPECT_FALSE(music.decoderOpen);
        EXPECT_EQ(music.openFailure, c.reason);
        // The song start tells the user; the stream itself stays quiet.
        EXPECT_TRUE(userMessages(log).empty()) << log;
        EXPECT_EQ(music.open(), -1);
        EXPECT_EQ(music.streamState.load(), Finished);
    }
    std::filesystem::remove(folder.path);
    const TempFile song = encodedSong("fine", 2, 44100, 1000);
    ASSERT_EQ(music.openFile(song.c_str()), 0);
    EXPECT_EQ(music.openFailure, "");
}

// Music damaged after its headers ends the song where decoding stops, and one line says where:
// the file, the position reached and the length the file declares.
TEST_F(Music, MusicThatStopsDecodingEarlySaysWhere)
{
    const TempFile whole("whole.ogg");
    ASSERT_TRUE(encodeOgg(whole.path, 2, 44100, noiseSamples(2, 200000)));
    const std::vector<char> bytes = fileBytes(whole.path);
    const size_t pages = pageBounds(bytes).size() - 1;
    ASSERT_GT(pages, 10u);

    const TempFile foreign("foreign.ogg");
    writeBytes(foreign, foreignPagesFrom(bytes, pages / 2));
    const size_t foreignFrames = decodeAll(foreign.path).size() / 2;
    ASSERT_LT(foreignFrames, 150000u);
    ASSERT_EQ(music.openFile(foreign.c_str()), 0);
    ASSERT_EQ(music.open(), 0);
    testing::internal::CaptureStderr();
    playToEnd(music);
    std::vector<std::string> messages = userMessages(testing::internal::GetCapturedStderr());
    EXPECT_EQ(music.streamState.load(), Finished);
    EXPECT_EQ(pcmPositionFrames(music.device), foreignFrames);
    const uint64_t stopMs = foreignFrames * 1000 / 44100;
    char stop[16];
    std::snprintf(stop, sizeof stop, "0:%02u.%03u", unsigned(stopMs / 1000), unsigned(stopMs % 1000));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "lumatide: " + foreign.path + ": decoding stops at " + stop +
                               " of 0:04.535 (the rest is damaged or missing); the song ends there");

    // Cut while it plays: the file ends before the length read at open.
    const TempFile cut("cut.ogg");
    writeBytes(cut, bytes);
    ASSERT_EQ(music.openFile(cut.c_str()), 0);
    ASSERT_EQ(music.open(), 0);
    music.refill();
    std::filesystem::resize_file(cut.path, bytes.size() / 2);
    testing::internal::CaptureStderr();
    playToEnd(music);
    messages = userMessages(testing::internal::GetCapturedStderr());
    EXPECT_EQ(music.streamState.load(), Finished);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(cut.path + ": decoding stops at 0:0"), std::string::npos) << messages[0];
    EXPECT_NE(messages[0].find(" of 0:04.535 "), std::string::npos) << messages[0];
}

// Music that ends where it says it does, at any length, or that only skips a gap, says nothing.
TEST_F(Music, MusicThatPlaysToItsEndSaysNothing)
{
    const TempFile whole("whole.ogg");
    ASSERT_TRUE(encodeOgg(whole.path, 2, 44100, noiseSamples(2, 200000)));
    const std::vector<char> bytes = fileBytes(whole.path);
    const std::vector<size_t> bounds = pageBounds(bytes);
    const size_t middle = bounds.size() / 2;
    ASSERT_GT(middle, 2u);
    std::vector<char> gap(bytes.begin(), bytes.begin() + long(bounds[middle]));
    gap.insert(gap.end(), bytes.begin() + long(bounds[middle + 1]), bytes.end());
    TempFile withGap("gap.ogg");
    writeBytes(withGap, gap);
    std::vector<TempFile> songs;
    songs.push_back(std::move(withGap));
    for (size_t frames : {0, 1, 12800, 25600, 50000, 200000})
        songs.push_back(encodedSong("length" + std::to_string(frames), 2, 44100, frames));
    songs.push_back(encodedSong("mono", 1, 22050, 30000));
    for (const TempFile &song : songs) {
        SCOPED_TRACE(song.path);
        testing::internal::CaptureStderr();
        ASSERT_EQ(music.openFile(song.c_str()), 0);
        ASSERT_EQ(music.open(), 0);
        playToEnd(music);
        const std::string log = testing::internal::GetCapturedStderr();
        EXPECT_EQ(music.streamState.load(), Finished);
        EXPECT_TRUE(userMessages(log).empty()) << log;
    }
}

} // namespace
