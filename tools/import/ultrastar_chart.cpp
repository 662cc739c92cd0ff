#include "ultrastar_chart.h"

#include <cmath>
#include <map>
#include <numeric>

#include "song_mapping.h"

namespace {

// Chart tempo and measure size: the written tempo, halved or doubled into a range the game's
// scrolling reads well, with the karaoke beats per measure following so a measure still holds a
// whole number of beats.
struct Grid {
    double chartBpm;
    long beatsPerMeasure;
};

Grid chooseGrid(double bpm)
{
    const int folds = tempoFolds(bpm, 3, 2); // 16 beats per measure become 128 at most, 4 at least
    return {std::ldexp(bpm, -folds), folds >= 0 ? 16L << folds : 16L >> -folds};
}

long floorDiv(long a, long b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

bool isGhost(char type) { return type == 'F' || type == 'R' || type == 'G'; }

} // namespace

bool ultraStarDraft(const UltraStarSong &song, int part, ChartDraft &draft, int &octaveShift, std::string &whyNot)
{
    const std::vector<UltraStarNote> &notes = song.parts[part == 2 ? 1 : 0];
    if (notes.empty()) {
        whyNot = part == 2 ? "no duet part 2" : "no notes in part 1";
        return false;
    }
    // A '~' syllable continues the note before it in the file, before any reordering.
    std::vector<bool> slides(notes.size(), false);
    for (size_t i = 1; i < notes.size(); i++)
        slides[i - 1] = notes[i].continues;
    std::map<long, size_t> byBeat; // one note per beat: the first one written
    for (size_t i = 0; i < notes.size(); i++)
        byBeat.emplace(notes[i].beat, i);

    std::vector<int> judgedPitches;
    for (const auto &entry : byBeat)
        if (!isGhost(notes[entry.second].type))
            judgedPitches.push_back(notes[entry.second].pitch - 12);
    if (judgedPitches.empty())
        for (const auto &entry : byBeat)
            judgedPitches.push_back(notes[entry.second].pitch - 12);
    octaveShift = octaveShiftForField(judgedPitches);

    const double beatMs = 15000.0 / song.bpm;
    if (!withinSoundLength(song.gapMs + byBeat.begin()->first * beatMs, song.gapMs + byBeat.rbegin()->first * beatMs,
                           whyNot))
        return false;
    const Grid grid = chooseGrid(song.bpm);
    const long firstMeasure = floorDiv(byBeat.begin()->first, grid.beatsPerMeasure);
    const long lastMeasure = floorDiv(byBeat.rbegin()->first, grid.beatsPerMeasure);
    draft.bpm = grid.chartBpm;
    draft.measures.clear();
    for (long k = firstMeasure; k <= lastMeasure; k++) {
        DraftMeasure measure;
        const long firstBeat = k * grid.beatsPerMeasure;
        measure.startMs = song.gapMs + firstBeat * beatMs;
        measure.lengthMs = grid.beatsPerMeasure * beatMs;
        long step = grid.beatsPerMeasure;
        for (auto it = byBeat.lower_bound(firstBeat);
             it != byBeat.end() && it->first < firstBeat + grid.beatsPerMeasure; ++it)
            step = std::gcd(step, it->first - firstBeat);
        measure.slots = static_cast<int>(grid.beatsPerMeasure / step);
        for (auto it = byBeat.lower_bound(firstBeat);
             it != byBeat.end() && it->first < firstBeat + grid.beatsPerMeasure; ++it) {
            const UltraStarNote &source = notes[it->second];
            DraftNote note;
            note.slot = static_cast<int>((it->first - firstBeat) / step);
            note.pitch = source.pitch - 12 + 12 * octaveShift;
            note.ghost = isGhost(source.type);
            note.linked = slides[it->second];
            note.exactMs = song.gapMs + it->first * beatMs;
            measure.notes.push_back(note);
        }
        draft.measures.push_back(measure);
    }
    draft.level = importedLevel(draft);
    return true;
}
