#include "chart_draft.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "library/chart_parser.h"
#include "library/header_values.h"

namespace {

// Denominator of every #MEASURE fraction: fine enough to place a measure's end within 0.01 ms, a
// power of two so the fraction is exact, and not ending in 0 (a '0' before the line end reads as
// a rest that lost its blank).
const long FractionDenominator = 1048576;

// The length the game gives a measure of numerator / FractionDenominator whole notes.
double measureMs(double bpm, long numerator)
{
    return measureLengthMs(bpm, static_cast<double>(numerator) / static_cast<double>(FractionDenominator));
}

// The numerator whose measure truncates to wholeMs and lies as close to wantedMs as that allows.
long chooseNumerator(double bpm, double wantedMs, long wholeMs)
{
    const double target = std::clamp(wantedMs, wholeMs + 0.05, wholeMs + 0.95);
    long numerator = std::lround(target * bpm / 240000 * FractionDenominator);
    while (std::trunc(measureMs(bpm, numerator)) < wholeMs)
        numerator++;
    while (numerator > 0 && std::trunc(measureMs(bpm, numerator)) > wholeMs)
        numerator--;
    return numerator;
}

// OFFSET in seconds with a half millisecond added away from zero, so that truncation gives ms back.
std::string offsetText(long ms)
{
    char text[48];
    const long whole = std::labs(ms);
    std::snprintf(text, sizeof text, "%s%ld.%03ld5", ms < 0 ? "-" : "", whole / 1000, whole % 1000);
    return text;
}

} // namespace

std::string noteToken(int pitch, bool ghost, bool linked)
{
    static const char Letters[] = "ccddeffggaab";
    static const char Accidentals[] = " + +  + + + ";
    const int lowest = ghost ? -36 : -48; // a ghost's octave digit is shifted, and '0' has no shifted form
    while (pitch < lowest)
        pitch += 12;
    while (pitch > 71)
        pitch -= 12;
    const int octave = 4 + (pitch >= 0 ? pitch / 12 : -((11 - pitch) / 12));
    const int semitone = pitch - 12 * (octave - 4);
    std::string token;
    token += static_cast<char>('0' + octave - (ghost ? 16 : 0));
    char letter = Letters[semitone];
    token += linked ? static_cast<char>(letter - 'a' + 'A') : letter;
    token += Accidentals[semitone];
    return token;
}

std::string writeChartText(const ChartDraft &draft)
{
    std::string text = "TITLE:" + draft.title + "\n";
    text += "LEVEL:" + std::to_string(draft.level) + "\n";
    text += "WAVE:" + draft.wave + "\n";
    text += "BPM:" + decimalText(draft.bpm) + "\n";
    const long firstStart = draft.measures.empty() ? 0 : static_cast<long>(std::ceil(draft.measures[0].startMs));
    text += "OFFSET:" + offsetText(firstStart) + "\n";
    if (!draft.source.empty())
        text += "SOURCE:" + draft.source + "\n";
    text += "#START\n";

    // Each measure starts at its exact start rounded up, and its length is chosen so that its end
    // would lie half a millisecond after the next exact start: the game truncates note times, so
    // every note then lands less than about 1 ms from its exact time.
    long start = firstStart;
    long numerator = FractionDenominator;
    for (size_t k = 0; k < draft.measures.size(); k++) {
        const DraftMeasure &measure = draft.measures[k];
        const double exactEnd = measure.startMs + measure.lengthMs;
        const long nextStart = static_cast<long>(
            std::ceil(k + 1 < draft.measures.size() ? draft.measures[k + 1].startMs : exactEnd));
        const double wantedMs = exactEnd + 0.5 - static_cast<double>(start);
        const long wholeMs = std::max(0L, nextStart - start);
        const double currentMs = measureMs(draft.bpm, numerator);
        // The length in force is kept while it serves, so a steady song needs few #MEASURE lines.
        const bool keep = std::trunc(currentMs) == wholeMs && std::fabs(currentMs - wantedMs) <= 0.5;
        const long wanted = keep ? numerator : chooseNumerator(draft.bpm, wantedMs, wholeMs);
        if (wanted != numerator) {
            numerator = wanted;
            text += "#MEASURE " + std::to_string(numerator) + "/" + std::to_string(FractionDenominator) + "\n";
        }
        std::vector<std::string> tokens(static_cast<size_t>(measure.slots), "40 ");
        for (const DraftNote &note : measure.notes)
            tokens[static_cast<size_t>(note.slot)] = noteToken(note.pitch, note.ghost, note.linked);
        std::string line;
        for (const std::string &token : tokens)
            line += token.back() == ' ' ? token : token + " ";
        if (measure.notes.empty())
            line.clear(); // an empty measure takes its full length without tokens
        text += line + ",\n";
        start += static_cast<long>(std::trunc(measureMs(draft.bpm, numerator)));
    }
    text += "#END\n";
    return text;
}

double largestTimingError(const std::string &chartText, const ChartDraft &draft)
{
    Chart chart;
    parseChartText(chartText, "", static_cast<uint16_t>(draft.level), chart);
    double largest = 0.0;
    size_t i = 0;
    for (const DraftMeasure &measure : draft.measures) {
        for (const DraftNote &note : measure.notes) {
            if (i >= chart.noteCount)
                return -1.0;
            const double parsed = static_cast<int32_t>(chart.notes[i].timeMs);
            largest = std::max(largest, std::fabs(parsed - note.exactMs));
            i++;
        }
    }
    return i == chart.noteCount ? largest : -1.0;
}
