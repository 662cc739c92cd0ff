// Any bytes as a MIDI file: reading it, choosing the melody and turning it into a chart must end,
// and a chart that comes out must keep every note within 2 ms of its MIDI time.
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
    const double error = largestTimingError(writeChartText(draft), draft);
    if (error < 0.0 || error > 2.0)
        std::abort();
    return 0;
}
