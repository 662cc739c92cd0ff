#include "library/chart_parser.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "library/chart_checks.h"
#include "library/chart_notes.h"
#include "library/chart_tokens.h"
#include "library/file_lookup.h"
#include "library/header_values.h"
#include "library/line_reader.h"

namespace {

// noteCount and measureCount are 16-bit: a body longer than that ends where it no longer fits.
const size_t MaxRecords = 65535;

int32_t offsetFromSeconds(double seconds)
{
    double ms = std::trunc(seconds * 1000);
    if (std::isnan(ms))
        return 0;
    ms = std::min(ms, static_cast<double>(std::numeric_limits<int32_t>::max()));
    ms = std::max(ms, static_cast<double>(std::numeric_limits<int32_t>::min()));
    return static_cast<int32_t>(ms);
}

void readHeaderLine(const std::string &line, int lineNumber, const std::string &dataDir, Chart &chart,
                    CheckFacts &facts, ChartReport *report)
{
    double value;
    if (startsWith(line, "WAVE:")) {
        std::string name = line.substr(5);
        chart.musicPath = findDataFile(dataDir, name);
        facts.waveLine = lineNumber;
        if (report != nullptr)
            report->waveValue = name;
    } else if (startsWith(line, "BPM:")) {
        if (readDecimal(line.substr(4), value))
            chart.bpm = value;
        facts.bpmLine = lineNumber;
    } else if (startsWith(line, "OFFSET:")) {
        if (readDecimal(line.substr(7), value))
            chart.offsetMs = offsetFromSeconds(value);
        else
            addFinding(report, lineNumber, false, "OFFSET has no number");
    }
}

// First pass: the header values, wherever they stand, so every note is timed with the final BPM.
CheckFacts readHeader(const std::string &text, const std::string &dataDir, Chart &chart, ChartReport *report)
{
    CheckFacts facts;
    LineReader reader = makeLineReader(text);
    std::string line;
    bool inBody = false;
    while (readLine(reader, line)) {
        checkLine(reader, line, facts, report);
        if (inBody) {
            if (startsWith(line, "#END"))
                inBody = false;
            else if (startsWith(line, "#START"))
                addFinding(report, reader.lineNumber, false, "second #START ignored");
        } else if (startsWith(line, "#START")) {
            // A chart has one body: a later #START is a header line, in both passes.
            if (facts.sawStart)
                addFinding(report, reader.lineNumber, false, "second #START ignored");
            else
                inBody = true;
            facts.sawStart = true;
        } else {
            readHeaderLine(line, reader.lineNumber, dataDir, chart, facts, report);
        }
    }
    return facts;
}

void setMeasureLength(const std::string &line, int lineNumber, Chart &chart, ChartReport *report)
{
    size_t slash = line.find('/');
    if (slash == std::string::npos) {
        addFinding(report, lineNumber, false, "#MEASURE without a fraction such as 3/4: ignored");
        return;
    }
    double numerator = 0, denominator = 0;
    for (size_t i = 0; i < line.size(); i++) {
        if (line[i] >= '0' && line[i] <= '9') {
            double &part = i < slash ? numerator : denominator;
            part = part * 10 + (line[i] - '0');
        }
    }
    double length = numerator / denominator;
    if (denominator == 0 || !std::isfinite(length)) {
        addFinding(report, lineNumber, false, "#MEASURE without a valid denominator: ignored");
        return;
    }
    if (numerator == 0)
        addFinding(report, lineNumber, false, "#MEASURE of length 0: its notes all fall at its start");
    chart.measureLength = length;
}

// Second pass: the body, placed measure by measure with the header values of the first pass.
struct Placing {
    Chart &chart;
    ChartReport *report;
    std::vector<NoteToken> pending;
    int pendingLine = 0;
    LinkRun linkRun;
    uint32_t measureStart = 0;
    bool full = false;
};

void placeNote(Placing &placing, const NoteToken &token, double timeMs)
{
    Chart &chart = placing.chart;
    ChartNote note;
    note.timeMs = wrapToUint32(timeMs);
    note.pitch = tokenPitch(token);
    note.ghost = token.ghost;
    note.state = NoteOpen;
    note.linked = token.letter <= 'G' ? 1 : 0;
    chart.notes.push_back(note);
    size_t i = chart.notes.size() - 1;
    int shift = applyLinkRule(chart.notes, i, placing.linkRun);
    // While placing, the fold replaces the shift the link rule gave.
    chart.notes[i].octaveShift = foldShift(note.pitch, shift, 0, chart.lowestOctave, chart.highestOctave);
}

void closeMeasure(Placing &placing, int lineNumber)
{
    Chart &chart = placing.chart;
    size_t tokenCount = placing.pending.size();
    size_t noteCount = std::count_if(placing.pending.begin(), placing.pending.end(),
                                     [](const NoteToken &token) { return !isRest(token); });
    if (chart.notes.size() + noteCount > MaxRecords || chart.measureTimes.size() >= MaxRecords) {
        addFinding(placing.report, lineNumber, false, "chart longer than 65535 notes or measures: the rest is ignored");
        placing.full = true;
        return;
    }
    if (tokenCount > MeasureTokenLimit)
        addFinding(placing.report, lineNumber, false,
                   "measure of " + std::to_string(tokenCount) + " tokens (more than " +
                       std::to_string(MeasureTokenLimit) + ")");
    double d = measureLengthMs(chart.bpm, chart.measureLength);
    for (size_t k = 0; k < tokenCount; k++) {
        if (!isRest(placing.pending[k]))
            placeNote(placing, placing.pending[k], d / tokenCount * k + placing.measureStart);
    }
    chart.measureTimes.push_back(placing.measureStart);
    placing.measureStart += wrapToUint32(d);
    placing.pending.clear();
}

void scanBodyLine(const std::string &line, int lineNumber, Placing &placing)
{
    NoteToken token;
    for (size_t i = 0; i < line.size() && !placing.full; i++) {
        if (tokenAt(line, i, token)) {
            if (placing.pending.empty())
                placing.pendingLine = lineNumber;
            placing.pending.push_back(token);
        }
        if (line[i] == ',')
            closeMeasure(placing, lineNumber);
    }
}

void placeNotes(const std::string &text, Chart &chart, ChartReport *report)
{
    Placing placing{chart, report, {}, 0, {}, 0, false};
    LineReader reader = makeLineReader(text);
    std::string line;
    bool inBody = false;
    bool bodySeen = false;
    while (readLine(reader, line) && !placing.full) {
        if (!inBody) {
            if (startsWith(line, "#START") && !bodySeen) {
                inBody = bodySeen = true;
                chart.measureLength = 1.0;
                placing.measureStart = static_cast<uint32_t>(chart.offsetMs);
            }
            continue;
        }
        bool endsBody = startsWith(line, "#END");
        if (!endsBody && startsWith(line, "#MEASURE"))
            setMeasureLength(line, reader.lineNumber, chart, report);
        checkNearMisses(line, reader.lineNumber, report);
        scanBodyLine(line, reader.lineNumber, placing);
        if (endsBody)
            inBody = false;
    }
    if (!placing.pending.empty() && !placing.full)
        addFinding(report, placing.pendingLine, false, "tokens after the last ',' are dropped");
}

void startEmptyChart(Chart &chart)
{
    chart.notes.clear();
    chart.measureTimes.clear();
    chart.noteIndex = 0;
    chart.measureIndex = 0;
}

// The spare record after the last note, the links, the cursors and the difficulty values.
void finishChart(Chart &chart, uint16_t level)
{
    ChartNote spare;
    spare.state = NoteTaken;
    chart.notes.push_back(spare);
    size_t noteCount = chart.notes.size() - 1;
    for (size_t i = 0; i < noteCount; i++) {
        ChartNote &note = chart.notes[i];
        // The final fold adds to the shift the note was placed with.
        note.octaveShift = foldShift(note.pitch, note.octaveShift, note.octaveShift, chart.lowestOctave,
                                     chart.highestOctave);
    }
    linkNotes(chart.notes, noteCount);
    chart.noteCount = static_cast<uint16_t>(noteCount);
    chart.judgedNoteCount = static_cast<uint16_t>(
        std::count_if(chart.notes.begin(), chart.notes.end() - 1, [](const ChartNote &note) { return !note.ghost; }));
    chart.noteIndex = 0;
    chart.currentNote = &chart.notes[0];
    chart.msPerBeat = isPlayableBpm(chart.bpm)
                          ? static_cast<uint32_t>(std::min(std::trunc(60000 / chart.bpm), 4294967295.0))
                          : 0;
    chart.clearNorm = level / 7.0 * 0.25 + 0.6;
    chart.gaugeRate = level / 7.0 * 0.18 + 0.8;
}

} // namespace

void makeEmptyChart(Chart &chart, uint16_t level)
{
    startEmptyChart(chart);
    chart.measureCount = 0;
    finishChart(chart, level);
}

void parseChartText(const std::string &text, const std::string &dataDir, uint16_t level, Chart &chart,
                    ChartReport *report)
{
    startEmptyChart(chart);
    CheckFacts facts = readHeader(text, dataDir, chart, report);
    placeNotes(text, chart, report);
    chart.measureIndex = static_cast<uint16_t>(chart.measureTimes.size());
    if (!isPlayableBpm(chart.bpm)) {
        // No usable tempo: nothing can be timed, so the chart is empty.
        startEmptyChart(chart);
        chart.measureCount = 0;
    } else if (facts.sawStart) {
        chart.measureCount = static_cast<uint16_t>(chart.measureTimes.size());
    } else {
        // Without a body the measure count of the previous chart stays, with every start at 0.
        chart.measureTimes.assign(chart.measureCount, 0);
    }
    addMissingKeyFindings(chart, facts, report);
    finishChart(chart, level);
}

bool parseChartFile(const std::string &chartPath, const std::string &dataDir, uint16_t level, Chart &chart,
                    ChartReport *report, std::string *whyNot)
{
    std::string text;
    if (!readFileText(chartPath, text, whyNot)) {
        makeEmptyChart(chart, level);
        return false;
    }
    parseChartText(text, dataDir, level, chart, report);
    return true;
}
