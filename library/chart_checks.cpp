#include "library/chart_checks.h"

#include <algorithm>
#include <cctype>

#include "library/chart_tokens.h"
#include "library/file_lookup.h"
#include "library/header_values.h"

namespace {

void checkLevel(const std::string &line, int lineNumber, ChartReport *report)
{
    uint16_t level = 0;
    if (!readLevelValue(line.substr(6), level))
        addFinding(report, lineNumber, false, "LEVEL has no number");
    else if (level < 1 || level > 7)
        addFinding(report, lineNumber, false, "LEVEL " + std::to_string(level) + " is outside 1..7");
}

void checkNearMiss(const std::string &line, size_t i, int lineNumber, ChartReport *report)
{
    int octave, ghost;
    if (i + 1 >= line.size() || !readOctave(line[i], octave, ghost))
        return;
    char letter = line[i + 1];
    std::string written = line.substr(i, 2);
    bool atEnd = i + 2 == line.size() || line[i + 2] == ',';
    if (letter == '0' && atEnd) {
        addFinding(report, lineNumber, false, "'" + written + "' is a rest without its blank: it takes no slot");
    } else if (isNoteLetter(letter) && atEnd) {
        addFinding(report, lineNumber, false,
                   "'" + written + "' is not a note: its accidental (blank, '+' or '-') is missing");
    } else if (!ghost && std::isalpha(static_cast<unsigned char>(letter)) && !isNoteLetter(letter)) {
        addFinding(report, lineNumber, false, "'" + written + "': the letter after an octave must be a to g");
    }
}

} // namespace

void addFinding(ChartReport *report, int line, bool error, const std::string &message)
{
    if (report != nullptr)
        report->findings.push_back({line, error, message});
}

void checkLine(const LineReader &reader, const std::string &line, CheckFacts &facts, ChartReport *report)
{
    if (report == nullptr)
        return;
    // The empty piece after a line of exactly 511 bytes is its LF alone and changes nothing.
    if (reader.continued && !line.empty() && facts.lastPiecedLine != reader.lineNumber) {
        facts.lastPiecedLine = reader.lineNumber;
        addFinding(report, reader.lineNumber, false,
                   "line longer than " + std::to_string(LinePieceBytes) + " bytes: read in pieces");
    }
    if (reader.cutAtNul)
        addFinding(report, reader.lineNumber, false, "NUL byte: the rest of the line is not read");
    if (startsWith(line, "TITLE:")) {
        facts.hasTitle = true;
    } else if (startsWith(line, "LEVEL:")) {
        facts.hasLevel = true;
        checkLevel(line, reader.lineNumber, report);
    }
}

void checkNearMisses(const std::string &line, int lineNumber, ChartReport *report)
{
    if (report == nullptr)
        return;
    NoteToken token;
    for (size_t i = 0; i < line.size(); i++) {
        if (!tokenAt(line, i, token))
            checkNearMiss(line, i, lineNumber, report);
    }
}

void addMissingKeyFindings(const Chart &chart, const CheckFacts &facts, ChartReport *report)
{
    if (report == nullptr)
        return;
    if (!facts.sawStart)
        addFinding(report, 1, true, "no #START line: the chart has no notes");
    if (facts.bpmLine == 0)
        addFinding(report, 1, true, "no BPM line");
    else if (!isPlayableBpm(chart.bpm))
        addFinding(report, facts.bpmLine, true, "BPM must be a positive number");
    if (facts.waveLine == 0)
        addFinding(report, 1, true, "no WAVE line");
    else if (pathKind(chart.musicPath) != PathKind::File)
        addFinding(report, facts.waveLine, false, "music file '" + report->waveValue + "' not found beside the chart");
    if (!facts.hasTitle)
        addFinding(report, 1, false, "no TITLE line");
    if (!facts.hasLevel)
        addFinding(report, 1, false, "no LEVEL line");
    std::stable_sort(report->findings.begin(), report->findings.end(),
                     [](const ChartFinding &a, const ChartFinding &b) { return a.line < b.line; });
}
