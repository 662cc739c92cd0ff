// Any bytes as a chart: the parser must place only what fits and keep every link inside the array.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "library/chart_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string text(reinterpret_cast<const char *>(data), size);
    Chart chart;
    ChartReport report;
    parseChartText(text, "/nonexistent", 7, chart, &report);
    // A second chart on the same record, as when the next song is started.
    parseChartText(text.substr(size / 2), "/nonexistent", 1, chart);
    if (chart.notes.size() != chart.noteCount + 1u || chart.measureTimes.size() != chart.measureCount)
        std::abort();
    for (size_t i = 0; i < chart.noteCount; i++) {
        const ChartNote &note = chart.notes[i];
        double shown = note.pitch + 12 * note.octaveShift;
        if (shown < -12 || shown > 11 || note.prev == nullptr || (note.next != nullptr && note.next->ghost))
            std::abort();
    }
    return 0;
}
