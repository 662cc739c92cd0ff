#pragma once
// Where every measure of a song lies in the music, computed the way the game times the chart:
// measure starts advance by whole milliseconds, slots inside a measure by the exact length.
#include <cstdint>
#include <string>
#include <vector>

#include "song_sheet.h"

struct MeasureSpan {
    uint32_t startMs;
    double lengthMs;
    double beats; // quarter-note beats in the measure
};

int32_t chartOffsetMs(const std::string &offsetText);

std::vector<MeasureSpan> measureSpans(const SongSheet &sheet);

double slotTimeMs(const MeasureSpan &span, size_t slotCount, size_t slot);

double beatMs(const SongSheet &sheet);
