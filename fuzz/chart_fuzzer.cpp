// Any bytes as a chart: the parser must place only what fits and keep every link inside the array.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "library/chart_parser.h"

namespace {

void checkInvariants(const Chart &chart)
{
    if (chart.notes.size() != chart.noteCount + 1u || chart.measureTimes.size() != chart.measureCount ||
        chart.judgedNoteCount > chart.noteCount || chart.currentNote != chart.notes.data())
        std::abort();
    const ChartNote *first = chart.notes.data();
    const ChartNote *spare = first + chart.noteCount;
    for (size_t i = 0; i < chart.noteCount; i++) {
        const ChartNote &note = chart.notes[i];
        double shown = note.pitch + 12 * note.octaveShift;
        if (shown < -12 || shown > 11)
            std::abort();
        if (note.prev == nullptr || note.prev < first || note.prev > &note || (note.prev != &note && note.prev->ghost))
            std::abort();
        bool last = i + 1 == chart.noteCount;
        if (last ? note.next != nullptr
                 : (note.next == nullptr || note.next <= &note || note.next > spare || note.next->ghost))
            std::abort();
    }
    if (spare->prev == nullptr || spare->prev < first || spare->prev > spare)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string text(reinterpret_cast<const char *>(data), size);
    Chart chart;
    ChartReport report;
    parseChartText(text, "/nonexistent", 7, chart, &report);
    checkInvariants(chart);
    // A second chart on the same record, as when the next song is started.
    parseChartText(text.substr(size / 2), "/nonexistent", 1, chart);
    checkInvariants(chart);
    return 0;
}
