// Any bytes as the recording that stands in for the microphone: it is refused with a reason or
// gives mono samples at a usable rate, and filling blocks from it stays inside the recording.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/core/mic_file.h"
#include "tests/support/scratch_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ScratchFolder folder;
    const std::string path = folder.write("take.wav", std::string(reinterpret_cast<const char *>(data), size));
    MicRecording recording;
    std::string reason;
    if (!micRecordingLoad(path, recording, reason)) {
        if (reason.empty())
            std::abort();
        return 0;
    }
    if (recording.sampleRate <= 0)
        std::abort();
    float block[256];
    const int64_t length = static_cast<int64_t>(recording.samples.size());
    for (int64_t first : {int64_t(0), length - 100, length + 5}) {
        micRecordingFill(recording, 0, first, block, 256);
        for (float sample : block)
            if (!std::isfinite(sample))
                std::abort();
    }
    return 0;
}
