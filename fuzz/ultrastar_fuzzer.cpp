// Any bytes as a karaoke song file: reading it and turning each part into a chart must end, and a
// chart that comes out must keep every note within 2 ms of its exact time, as the import demands.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "chart_draft.h"
#include "ultrastar_chart.h"
#include "ultrastar_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    UltraStarSong song;
    std::string whyNot;
    if (!readUltraStar(std::string(reinterpret_cast<const char *>(data), size), song, whyNot))
        return 0;
    for (int part = 1; part <= 2; part++) {
        ChartDraft draft;
        int octaveShift = 0;
        if (!ultraStarDraft(song, part, draft, octaveShift, whyNot))
            continue;
        const double error = largestTimingError(writeChartText(draft), draft);
        if (error < 0.0 || error > 2.0)
            std::abort();
    }
    return 0;
}
