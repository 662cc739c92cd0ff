#include "midi_chart.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numeric>
#include <set>

#include "library/chart_parser.h"
#include "song_mapping.h"
#include "text_encoding.h"

namespace {

const double LegatoMs = 30.0;

bool namedAsMelody(const std::string &name)
{
    const std::string lower = asciiLower(name);
    for (const char *word : {"melody", "vocal", "voice", "lead"})
        if (lower.find(word) != std::string::npos)
            return true;
    return false;
}

struct DraftBuilder {
    const MidiSong &song;
    const std::vector<MelodyLineNote> &line;
    int octaveShift;
    std::vector<DraftMeasure> measures;
};

bool tempoChangesInside(const MidiSong &song, long from, long to)
{
    if (song.msPerTick > 0.0)
        return false;
    return std::any_of(song.tempos.begin(), song.tempos.end(),
                       [from, to](const TempoChange &change) { return change.tick > from && change.tick < to; });
}

void addMeasure(DraftBuilder &builder, long from, long to, long step)
{
    DraftMeasure measure;
    measure.startMs = midiTickMs(builder.song, from);
    measure.lengthMs = midiTickMs(builder.song, to) - measure.startMs;
    measure.slots = static_cast<int>((to - from) / step);
    for (const MelodyLineNote &note : builder.line) {
        if (note.startTick < from || note.startTick >= to)
            continue;
        DraftNote draftNote;
        draftNote.slot = static_cast<int>((note.startTick - from) / step);
        draftNote.pitch = note.key - 72 + 12 * builder.octaveShift;
        draftNote.linked = note.linked;
        draftNote.exactMs = midiTickMs(builder.song, note.startTick);
        measure.notes.push_back(draftNote);
    }
    builder.measures.push_back(measure);
}

// A span becomes one measure when its notes fit an even grid and its tempo is steady; a bar that
// does not is tried beat by beat, and a beat that does not is cut at every note and tempo change.
void addSpan(DraftBuilder &builder, long from, long to, int depth)
{
    long step = to - from;
    for (const MelodyLineNote &note : builder.line)
        if (note.startTick >= from && note.startTick < to)
            step = std::gcd(step, note.startTick - from);
    if (!tempoChangesInside(builder.song, from, to) && static_cast<size_t>((to - from) / step) <= MeasureTokenLimit) {
        addMeasure(builder, from, to, step);
        return;
    }
    if (depth == 0) {
        const long beat = std::max(1L, (to - from) / 4);
        for (long at = from; at < to; at += beat)
            addSpan(builder, at, std::min(to, at + beat), 1);
        return;
    }
    std::set<long> cuts = {from, to};
    for (const MelodyLineNote &note : builder.line)
        if (note.startTick > from && note.startTick < to)
            cuts.insert(note.startTick);
    for (const TempoChange &change : builder.song.tempos)
        if (change.tick > from && change.tick < to)
            cuts.insert(change.tick);
    for (auto it = cuts.begin(); std::next(it) != cuts.end(); ++it)
        addMeasure(builder, *it, *std::next(it), *std::next(it) - *it);
}

// The chart's tempo: the song's first, halved or doubled into a range the game's scrolling reads
// well. For SMPTE-timed files, where no tempo exists, 120.
double chartBpm(const MidiSong &song)
{
    double bpm = 120.0;
    if (song.msPerTick == 0.0 && !song.tempos.empty() && song.tempos.front().tick == 0)
        bpm = 60000000.0 / song.tempos.front().microsecondsPerQuarter;
    return std::ldexp(bpm, -tempoFolds(bpm, INT_MAX, INT_MAX));
}

} // namespace

std::vector<MelodyLineNote> melodyLine(const MidiSong &song, const MidiTrack &track)
{
    std::vector<MidiNote> notes;
    for (const MidiNote &note : track.notes)
        if (note.channel != DrumChannel)
            notes.push_back(note);
    std::stable_sort(notes.begin(), notes.end(), [](const MidiNote &a, const MidiNote &b) {
        return a.startTick != b.startTick ? a.startTick < b.startTick : a.key > b.key;
    });
    std::vector<MelodyLineNote> line;
    std::vector<int> channels;
    for (const MidiNote &note : notes) {
        const double start = midiTickMs(song, note.startTick);
        if (!line.empty()) {
            MelodyLineNote &last = line.back();
            const double lastStart = midiTickMs(song, last.startTick);
            const double lastEnd = midiTickMs(song, last.endTick);
            if (start - lastStart <= LegatoMs) {
                if (note.key > last.key) {
                    last = {note.startTick, note.endTick, note.key, false};
                    channels.back() = note.channel;
                }
                continue;
            }
            if (start < lastEnd - LegatoMs && note.key <= last.key)
                continue;
            if (std::fabs(start - lastEnd) <= LegatoMs && channels.back() == note.channel)
                last.linked = true;
            last.endTick = std::min(last.endTick, note.startTick);
        }
        line.push_back({note.startTick, note.endTick, note.key, false});
        channels.push_back(note.channel);
    }
    return line;
}

int melodyTrackIndex(const MidiSong &song)
{
    int best = -1;
    size_t bestCount = 0;
    for (size_t i = 0; i < song.tracks.size(); i++) {
        const size_t count = melodyLine(song, song.tracks[i]).size();
        if (count > 0 && namedAsMelody(song.tracks[i].name))
            return static_cast<int>(i);
        if (count > bestCount) {
            best = static_cast<int>(i);
            bestCount = count;
        }
    }
    return best;
}

bool trackMelody(const MidiSong &song, int trackIndex, std::vector<MelodyLineNote> &line, std::string &whyNot)
{
    if (trackIndex < 0 || static_cast<size_t>(trackIndex) >= song.tracks.size()) {
        whyNot = trackIndex < 0 ? "no track with melody notes" : "no track " + std::to_string(trackIndex + 1);
        return false;
    }
    line = melodyLine(song, song.tracks[static_cast<size_t>(trackIndex)]);
    if (line.empty()) {
        whyNot = "track " + std::to_string(trackIndex + 1) + " has no notes off the drum channel";
        return false;
    }
    return true;
}

bool midiDraft(const MidiSong &song, int trackIndex, ChartDraft &draft, int &octaveShift, std::string &whyNot)
{
    std::vector<MelodyLineNote> line;
    return trackMelody(song, trackIndex, line, whyNot) && melodyDraft(song, line, draft, octaveShift, whyNot);
}

bool melodyDraft(const MidiSong &song, const std::vector<MelodyLineNote> &line, ChartDraft &draft, int &octaveShift,
                 std::string &whyNot)
{
    if (!withinSoundLength(midiTickMs(song, line.front().startTick), midiTickMs(song, line.back().startTick), whyNot))
        return false;
    std::vector<int> pitches(line.size());
    std::transform(line.begin(), line.end(), pitches.begin(), [](const MelodyLineNote &note) { return note.key - 72; });
    octaveShift = octaveShiftForField(pitches);

    const long bar = song.msPerTick > 0.0 ? std::max(1L, std::lround(2000.0 / song.msPerTick))
                                          : 4L * song.ticksPerQuarter;
    DraftBuilder builder{song, line, octaveShift, {}};
    const long firstBar = line.front().startTick / bar;
    const long lastBar = line.back().startTick / bar;
    for (long k = firstBar; k <= lastBar; k++)
        addSpan(builder, k * bar, (k + 1) * bar, 0);
    draft.bpm = chartBpm(song);
    draft.measures = builder.measures;
    draft.level = importedLevel(draft);
    return true;
}
