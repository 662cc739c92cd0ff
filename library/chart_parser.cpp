#include "library/chart_parser.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "app/app_context.h"
#include "app/trace.h"
#include "library/chart_notes.h"
#include "library/chart_tokens.h"
#include "library/file_lookup.h"
#include "library/line_reader.h"
#include "platform/paths.h"

namespace {

// noteCount and measureCount are 16-bit: a body longer than that ends where it no longer fits.
const size_t MaxRecords = 65535;
const size_t MeasureTokenLimit = 170;

void addFinding(ChartReport *report, int line, bool error, const std::string &message)
{
    if (report != nullptr)
        report->findings.push_back({line, error, message});
}

// Reads a number as "%lf" does: leading blanks skipped; false when there is none.
bool readDouble(const std::string &text, double &value)
{
    const char *start = text.c_str();
    char *end = nullptr;
    double parsed = std::strtod(start, &end);
    if (end == start)
        return false;
    value = parsed;
    return true;
}

int32_t offsetFromSeconds(double seconds)
{
    double ms = std::trunc(seconds * 1000);
    if (std::isnan(ms))
        return 0;
    ms = std::min(ms, static_cast<double>(std::numeric_limits<int32_t>::max()));
    ms = std::max(ms, static_cast<double>(std::numeric_limits<int32_t>::min()));
    return static_cast<int32_t>(ms);
}

bool isPlayableBpm(double bpm)
{
    return std::isfinite(bpm) && bpm > 0;
}

bool fileExists(const std::string &path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

struct HeaderFacts {
    bool sawStart = false;
    int bpmLine = 0;
    int waveLine = 0;
    bool hasTitle = false;
    bool hasLevel = false;
};

void warnLongLine(const LineReader &reader, int &lastWarnedLine, ChartReport *report)
{
    if (report == nullptr || !reader.continued || lastWarnedLine == reader.lineNumber)
        return;
    lastWarnedLine = reader.lineNumber;
    addFinding(report, reader.lineNumber, false, "line longer than 511 bytes: read in pieces");
}

void readHeaderLine(const std::string &line, int lineNumber, const std::string &dataDir,
                    Chart &chart, HeaderFacts &facts, ChartReport *report)
{
    double value;
    if (startsWith(line, "WAVE:")) {
        std::string name = line.substr(5);
        chart.musicPath = findDataFile(dataDir, name);
        facts.waveLine = lineNumber;
        if (report != nullptr) {
            report->hasWave = true;
            report->waveValue = name;
        }
    } else if (startsWith(line, "BPM:")) {
        if (readDouble(line.substr(4), value))
            chart.bpm = value;
        facts.bpmLine = lineNumber;
    } else if (startsWith(line, "OFFSET:")) {
        if (readDouble(line.substr(7), value))
            chart.offsetMs = offsetFromSeconds(value);
        else
            addFinding(report, lineNumber, false, "OFFSET has no number");
    }
}

// The catalogue reads TITLE and LEVEL from any line of the chart, body included.
void noteTitleAndLevel(const std::string &line, int lineNumber, HeaderFacts &facts, ChartReport *report)
{
    if (report == nullptr)
        return;
    if (startsWith(line, "TITLE:")) {
        facts.hasTitle = true;
    } else if (startsWith(line, "LEVEL:")) {
        facts.hasLevel = true;
        uint16_t level = 0;
        if (!readLevelValue(line, level))
            addFinding(report, lineNumber, false, "LEVEL has no number");
        else if (level < 1 || level > 7)
            addFinding(report, lineNumber, false, "LEVEL " + std::to_string(level) + " is outside 1..7");
    }
}

// First pass: the header values, wherever they stand, so every note is timed with the final BPM.
HeaderFacts readHeader(const std::string &text, const std::string &dataDir, Chart &chart,
                       ChartReport *report)
{
    HeaderFacts facts;
    LineReader reader = makeLineReader(text);
    std::string line;
    bool inBody = false;
    int lastWarnedLine = 0;
    while (readLine(reader, line)) {
        warnLongLine(reader, lastWarnedLine, report);
        noteTitleAndLevel(line, reader.lineNumber, facts, report);
        if (inBody) {
            if (startsWith(line, "#END"))
                inBody = false;
            else if (startsWith(line, "#START"))
                addFinding(report, reader.lineNumber, false, "second #START ignored");
        } else if (startsWith(line, "#START")) {
            // One body per chart: a later #START would place notes the counts have no room for.
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
    note.state = 1;
    note.linked = token.letter <= 'G' ? 1 : 0;
    chart.notes.push_back(note);
    size_t i = chart.notes.size() - 1;
    int shift = applyLinkRule(chart.notes, i, placing.linkRun);
    chart.notes[i].octaveShift = foldWhilePlacing(note.pitch, shift, chart.lowestOctave, chart.highestOctave);
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
                   "measure of " + std::to_string(tokenCount) + " tokens (more than 170)");
    double d = 60000 / chart.bpm * 4 * chart.measureLength;
    for (size_t k = 0; k < tokenCount; k++) {
        if (!isRest(placing.pending[k]))
            placeNote(placing, placing.pending[k], d / tokenCount * k + placing.measureStart);
    }
    chart.measureTimes.push_back(placing.measureStart);
    placing.measureStart += wrapToUint32(d);
    placing.pending.clear();
}

// Notes an author most likely meant but wrote so that they are not tokens.
void checkNearMiss(const std::string &line, size_t i, int lineNumber, ChartReport *report)
{
    int octave, ghost;
    if (i + 1 >= line.size() || !readOctave(line[i], octave, ghost))
        return;
    char letter = line[i + 1];
    bool atEnd = i + 2 == line.size() || line[i + 2] == ',';
    if ((isNoteLetter(letter) || letter == '0') && atEnd) {
        addFinding(report, lineNumber, false,
                   "'" + line.substr(i, 2) + "' is not a note: its accidental (blank, '+' or '-') is missing");
    } else if (!ghost && std::isalpha(static_cast<unsigned char>(letter)) && !isNoteLetter(letter)) {
        addFinding(report, lineNumber, false,
                   "'" + line.substr(i, 2) + "': the letter after an octave must be a to g");
    }
}

void scanBodyLine(const std::string &line, int lineNumber, Placing &placing)
{
    NoteToken token;
    for (size_t i = 0; i < line.size() && !placing.full; i++) {
        if (tokenAt(line, i, token)) {
            if (placing.pending.empty())
                placing.pendingLine = lineNumber;
            placing.pending.push_back(token);
        } else if (placing.report != nullptr) {
            checkNearMiss(line, i, lineNumber, placing.report);
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
        scanBodyLine(line, reader.lineNumber, placing);
        if (endsBody)
            inBody = false;
    }
    if (!placing.pending.empty() && !placing.full)
        addFinding(report, placing.pendingLine, false, "tokens after the last ',' are dropped");
}

void addMissingKeyFindings(const Chart &chart, const HeaderFacts &facts, ChartReport *report)
{
    if (report == nullptr)
        return;
    if (!facts.sawStart)
        addFinding(report, 1, true, "no #START line: the chart has no notes");
    if (facts.bpmLine == 0)
        addFinding(report, 1, true, "no BPM line");
    else if (!isPlayableBpm(chart.bpm))
        addFinding(report, facts.bpmLine, true, "BPM must be a positive number");
    if (!report->hasWave)
        addFinding(report, 1, true, "no WAVE line");
    else if (!fileExists(chart.musicPath))
        addFinding(report, facts.waveLine, false, "music file '" + report->waveValue + "' not found beside the chart");
    if (!facts.hasTitle)
        addFinding(report, 1, false, "no TITLE line");
    if (!facts.hasLevel)
        addFinding(report, 1, false, "no LEVEL line");
    std::stable_sort(report->findings.begin(), report->findings.end(),
                     [](const ChartFinding &a, const ChartFinding &b) { return a.line < b.line; });
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
    spare.state = 0;
    chart.notes.push_back(spare);
    size_t noteCount = chart.notes.size() - 1;
    for (size_t i = 0; i < noteCount; i++) {
        ChartNote &note = chart.notes[i];
        note.octaveShift = foldFinal(note.pitch, note.octaveShift, chart.lowestOctave, chart.highestOctave);
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

bool readLevelValue(const std::string &line, uint16_t &level)
{
    const char *start = line.c_str() + (startsWith(line, "LEVEL:") ? 6 : 0);
    char *end = nullptr;
    unsigned long value = std::strtoul(start, &end, 10);
    if (end == start)
        return false;
    level = static_cast<uint16_t>(value);
    return true;
}

void parseChartText(const std::string &text, const std::string &dataDir, uint16_t level,
                    Chart &chart, ChartReport *report)
{
    startEmptyChart(chart);
    HeaderFacts facts = readHeader(text, dataDir, chart, report);
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

bool parseChartFile(const std::string &chartPath, const std::string &dataDir, uint16_t level,
                    Chart &chart, ChartReport *report)
{
    std::string text;
    if (!readFileText(chartPath, text)) {
        startEmptyChart(chart);
        chart.measureCount = 0;
        finishChart(chart, level);
        return false;
    }
    parseChartText(text, dataDir, level, chart, report);
    return true;
}

void parseChart()
{
    std::string dataDir = exeDirectory() + "/data";
    uint16_t level = 1;
    std::string fileName;
    if (app.menu.selectedSong < app.catalogue.songs.size()) {
        const SongEntry &entry = app.catalogue.songs[app.menu.selectedSong];
        fileName = entry.fileName;
        level = entry.level;
    }
    Chart &chart = app.chart;
    parseChartFile(findDataFile(dataDir, fileName), dataDir, level, chart);
    trace("chart %s notes=%u judged=%u measures=%u bpm=%g", fileName.c_str(), chart.noteCount,
          chart.judgedNoteCount, chart.measureCount, chart.bpm);
}
