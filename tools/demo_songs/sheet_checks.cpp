#include "sheet_checks.h"

#include <cmath>

#include "chords.h"
#include "melody.h"
#include "sheet_notation.h"
#include "song_stems.h"
#include "song_timing.h"

// Notes of the two octaves the play field shows without folding.
static const int LowestPitch = -12;
static const int HighestPitch = 11;
// A repeated pitch must be released and pressed again in between.
static const double RepeatedPitchGapMs = 300.0;

double shortestNoteGapMs(int level) { return level <= 1 ? 500.0 : level <= 3 ? 240.0 : level <= 5 ? 200.0 : 160.0; }

static void checkNotation(const SongSheet &sheet, std::vector<std::string> &problems)
{
    for (size_t m = 0; m < sheet.measures.size(); ++m) {
        const SheetMeasure &measure = sheet.measures[m];
        const std::string where = sheet.stem + " measure " + std::to_string(m + 1) + ": ";
        if (measure.meterTop <= 0 || measure.meterBottom <= 0)
            problems.push_back(where + "meter must be positive");
        NoteItem note;
        for (const std::string &item : splitWords(measure.melody))
            if (!isHold(item) && !isSilence(item) && !parseNoteItem(item, note))
                problems.push_back(where + "bad melody item '" + item + "'");
        ChordShape chord;
        for (const std::string &item : splitWords(measure.chords))
            if (!isHold(item) && !parseChord(item, chord))
                problems.push_back(where + "bad chord '" + item + "'");
    }
}

static void checkMelody(const SongSheet &sheet, const std::vector<MelodyNote> &notes,
                        const std::vector<MeasureSpan> &spans, std::vector<std::string> &problems)
{
    if (notes.empty()) {
        problems.push_back(sheet.stem + ": no melody");
        return;
    }
    if (spans.size() < 2 || notes.front().startMs < spans[1].startMs)
        problems.push_back(sheet.stem + ": the first note needs a measure of backing before it");
    const MelodyNote *previousJudged = nullptr;
    for (size_t i = 0; i < notes.size(); ++i) {
        const MelodyNote &note = notes[i];
        const std::string where = sheet.stem + " note at " + std::to_string(int(note.startMs)) + " ms: ";
        if (note.pitch < LowestPitch || note.pitch > HighestPitch)
            problems.push_back(where + "outside the two octaves of the field");
        if (note.linked) {
            const bool glides = i + 1 < notes.size() && !notes[i + 1].ghost && notes[i + 1].pitch != note.pitch &&
                                note.endMs >= notes[i + 1].startMs;
            if (!glides)
                problems.push_back(where + "a slide must run straight into a judged note of another pitch");
        }
        if (note.ghost)
            continue;
        if (previousJudged) {
            const double gap = note.startMs - previousJudged->startMs;
            if (gap < shortestNoteGapMs(sheet.level))
                problems.push_back(where + "too close to the previous note for the level");
            if (note.pitch == previousJudged->pitch && gap < RepeatedPitchGapMs)
                problems.push_back(where + "repeated pitch too soon to press again");
        }
        previousJudged = &note;
    }
}

std::vector<std::string> sheetProblems(const SongSheet &sheet)
{
    std::vector<std::string> problems;
    checkNotation(sheet, problems);
    const std::vector<MeasureSpan> spans = measureSpans(sheet);
    checkMelody(sheet, melodyNotes(sheet, spans), spans, problems);
    const double seconds = static_cast<double>(songFrames(sheet)) / SampleRate;
    if (seconds < 45.0 || seconds > 90.0)
        problems.push_back(sheet.stem + ": music lasts " + std::to_string(seconds) + " s, not 45 to 90");
    return problems;
}
