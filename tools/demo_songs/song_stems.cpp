#include "song_stems.h"

#include <algorithm>

#include "chords.h"
#include "drum_grooves.h"
#include "guide_melody.h"
#include "melody.h"
#include "song_timing.h"
#include "tonal_voices.h"

static const double RingOutMs = 2500.0;
static const int BassLowest = -36;
static const int PadLowest = -17;
static const int PianoLowest = -12;

size_t songFrames(const SongSheet &sheet)
{
    const std::vector<MeasureSpan> spans = measureSpans(sheet);
    if (spans.empty())
        return 0;
    return frameAtMs(spans.back().startMs + spans.back().lengthMs + RingOutMs);
}

static void addDrums(StereoBuffer &buffer, const SongSheet &sheet, const std::vector<MeasureSpan> &spans)
{
    NoiseSource noise{sheet.seed};
    Groove previous = Groove::Silent;
    for (size_t m = 0; m < sheet.measures.size(); ++m) {
        const Groove groove = sheet.measures[m].groove;
        const double msPerBeat = spans[m].lengthMs / spans[m].beats;
        if (startsSection(groove, previous))
            addDrum(buffer, frameAtMs(spans[m].startMs), Drum::Crash, 0.8, noise);
        for (const DrumHit &hit : grooveHits(groove, spans[m].beats))
            addDrum(buffer, frameAtMs(spans[m].startMs + hit.beat * msPerBeat), hit.drum, hit.velocity, noise);
        previous = groove;
    }
}

static int placeInOctave(int pitchClass, int lowest) { return lowest + ((pitchClass - lowest) % 12 + 12) % 12; }

static void addBassLine(StereoBuffer &buffer, BassLine line, const ChordSpan &span, double msPerBeat)
{
    const int root = placeInOctave(span.chord.bass, BassLowest);
    const bool slash = span.chord.bass != span.chord.root;
    const int fifth = slash ? root : (root + 7 > BassLowest + 14 ? root - 5 : root + 7);
    const double spanMs = span.endMs - span.startMs;
    if (line == BassLine::Sustain) {
        addBassNote(buffer, ToneNote{span.startMs, spanMs - 20.0, double(root), 1.0, 0.0});
        return;
    }
    const double step = line == BassLine::Beats ? 1.0 : 0.5;
    // Root on the strong beats, the fifth before a change and the octave to keep eighths moving.
    const int beatsPattern[] = {root, root, fifth, root};
    const int eighthsPattern[] = {root, root, root + 12, root, fifth, root, root + 12, fifth};
    int index = 0;
    for (double beat = 0.0; beat < span.beats - 1e-9; beat += step, ++index) {
        const int pitch = line == BassLine::Beats ? beatsPattern[index % 4] : eighthsPattern[index % 8];
        const double length = std::min(step * 0.85, span.beats - beat) * msPerBeat;
        addBassNote(buffer,
                    ToneNote{span.startMs + beat * msPerBeat, length, double(pitch), index % 2 ? 0.85 : 1.0, 0.0});
    }
}

static void addPianoPart(StereoBuffer &buffer, PianoPattern pattern, const ChordSpan &span, double msPerBeat)
{
    const std::vector<int> voicing = chordVoicing(span.chord, PianoLowest);
    const auto strike = [&](double beat, double beats, double velocity) {
        for (size_t v = 0; v < voicing.size(); ++v)
            addPianoNote(buffer, ToneNote{span.startMs + beat * msPerBeat, beats * msPerBeat, double(voicing[v]),
                                          velocity, -0.3 + 0.2 * double(v)});
    };
    switch (pattern) {
    case PianoPattern::Held:
        strike(0.0, span.beats, 0.6);
        break;
    case PianoPattern::Beats:
        for (double beat = 0.0; beat < span.beats - 1e-9; beat += 1.0)
            strike(beat, 0.9, beat == 0.0 ? 0.6 : 0.45);
        break;
    case PianoPattern::Offbeats:
        for (double beat = 0.5; beat < span.beats - 1e-9; beat += 1.0)
            strike(beat, 0.4, 0.5);
        break;
    case PianoPattern::Arpeggio: {
        // Up through the chord and its root an octave higher, then back down.
        std::vector<int> walk = voicing;
        std::sort(walk.begin(), walk.end());
        walk.push_back(walk.front() + 12);
        for (size_t i = walk.size() - 2; i > 0; --i)
            walk.push_back(walk[i]);
        int index = 0;
        for (double beat = 0.0; beat < span.beats - 1e-9; beat += 0.5, ++index)
            addPianoNote(buffer,
                         ToneNote{span.startMs + beat * msPerBeat, 0.9 * msPerBeat, double(walk[index % walk.size()]),
                                  index % 2 ? 0.4 : 0.5, index % 2 ? 0.35 : -0.35});
        break;
    }
    }
}

static void addPad(StereoBuffer &buffer, const ChordSpan &span, double cutoffHz)
{
    for (int pitch : chordVoicing(span.chord, PadLowest))
        addPadNote(buffer, ToneNote{span.startMs, span.endMs - span.startMs, double(pitch), 0.5, 0.0}, cutoffHz);
}

SongStems renderStems(const SongSheet &sheet)
{
    const std::vector<MeasureSpan> spans = measureSpans(sheet);
    const size_t frames = songFrames(sheet);
    SongStems stems{silentBuffer(frames), silentBuffer(frames), silentBuffer(frames), silentBuffer(frames),
                    silentBuffer(frames)};
    const double msPerBeat = beatMs(sheet);
    addDrums(stems.drums, sheet, spans);
    for (const ChordSpan &span : chordSpans(sheet, spans)) {
        // The final chord is struck once and left to ring.
        const bool ending = span.groove == Groove::Ending;
        addBassLine(stems.bass, ending ? BassLine::Sustain : sheet.style.bass, span, msPerBeat);
        addPianoPart(stems.piano, ending ? PianoPattern::Held : sheet.style.piano, span, msPerBeat);
        if (sheet.style.pad)
            addPad(stems.pad, span, sheet.style.padCutoffHz);
    }
    addGuideMelody(stems.guide, melodyNotes(sheet, spans), 1.0);
    return stems;
}
