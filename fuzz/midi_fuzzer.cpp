// Any bytes as a MIDI file: reading it, choosing the melody and turning it into a chart must end,
// and the timing check the import refuses a song by must give a number: a song whose notes the
// chart cannot all keep within 2 ms is refused with that reason, not written.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "chart_draft.h"
#include "midi_chart.h"
#include "midi_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    MidiSong song;
    std::string whyNot;
    if (!readMidi(std::string(reinterpret_cast<const char *>(data), size), song, whyNot))
        return 0;
    const int track = melodyTrackIndex(song);
    if (track < 0)
        return 0;
    ChartDraft draft;
    int octaveShift = 0;
    if (!midiDraft(song, track, draft, octaveShift, whyNot))
        return 0;
    if (std::isnan(largestTimingError(writeChartText(draft), draft)))
        std::abort();
    return 0;
}
