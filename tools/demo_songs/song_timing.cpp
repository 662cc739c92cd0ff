#include "song_timing.h"

#include <cstdlib>

#include "library/chart_parser.h"

int32_t chartOffsetMs(const std::string &offsetText)
{
    return static_cast<int32_t>(std::strtod(offsetText.c_str(), nullptr) * 1000.0);
}

double beatMs(const SongSheet &sheet) { return 60000.0 / sheet.bpm; }

std::vector<MeasureSpan> measureSpans(const SongSheet &sheet)
{
    std::vector<MeasureSpan> spans;
    uint32_t start = static_cast<uint32_t>(chartOffsetMs(sheet.offset));
    for (const SheetMeasure &measure : sheet.measures) {
        const double measureLength = static_cast<double>(measure.meterTop) / measure.meterBottom;
        const double lengthMs = measureLengthMs(sheet.bpm, measureLength);
        spans.push_back(MeasureSpan{start, lengthMs, 4.0 * measureLength});
        start += static_cast<uint32_t>(lengthMs);
    }
    return spans;
}

double slotTimeMs(const MeasureSpan &span, size_t slotCount, size_t slot)
{
    return span.lengthMs / static_cast<double>(slotCount) * static_cast<double>(slot) + span.startMs;
}
