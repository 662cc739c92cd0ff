// Any bytes as a song's Ogg Vorbis music, played through the mixer as the play screen plays it:
// the stream either refuses the file or plays it to Finished, and its clock never runs backwards.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "audio/music_stream.h"
#include "platform/core/pcm_mixer.h"
#include "tests/support/scratch_folder.h"

namespace {

uint64_t clockNowUs = 0;
uint64_t fuzzClockUs() { return clockNowUs; }

// About two stereo buffers of output between refills. A few kilobytes of Vorbis can hold hours
// of music at a low rate: past six minutes the song is abandoned, as a player would abandon it.
constexpr int FramesPerStep = 2 * MusicStream::BufferCapacity / 4;
constexpr int MaxSteps = 6 * 60 * PcmMixRate / FramesPerStep;
// Once the decoder has run out, the two buffers it filled last play out within their own length.
int drainingStepLimit(const MusicStream &s)
{
    const uint64_t deviceFrames = 2 * uint64_t(s.bufferBytes) / (2 * uint64_t(s.format.channels));
    return int(deviceFrames * PcmMixRate / uint64_t(s.format.sampleRate) / FramesPerStep) + 2;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ScratchFolder folder;
    const std::string path = folder.write("song.ogg", std::string(reinterpret_cast<const char *>(data), size));
    clockNowUs = 0;
    pcmMixerStartOutput(0, fuzzClockUs);

    MusicStream stream;
    if (stream.openFile(path.c_str()) != 0 || stream.open() != 0) {
        if (stream.streamState.load() != Finished)
            std::abort();
        stream.close();
        return 0;
    }
    std::vector<int16_t> out(size_t(FramesPerStep) * PcmMixChannels);
    uint32_t lastMs = 0;
    int drainingSteps = 0;
    for (int step = 0; step < MaxSteps && stream.refill() == 0; step++) {
        if (stream.streamState.load() == Draining && ++drainingSteps > drainingStepLimit(stream)) {
            std::fprintf(stderr, "music_fuzzer: the stream drains and never finishes\n");
            std::abort();
        }
        pcmMixerPull(out.data(), FramesPerStep);
        clockNowUs += uint64_t(FramesPerStep) * 1000000 / PcmMixRate;
        uint32_t ms = 0;
        if (!stream.positionMs(ms) || ms < lastMs)
            std::abort();
        lastMs = ms;
    }
    stream.close();
    return 0;
}
