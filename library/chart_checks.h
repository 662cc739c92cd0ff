#pragma once
#include <string>

#include "library/chart.h"
#include "library/chart_parser.h"
#include "library/line_reader.h"

// The checks lumatide-chart reports to chart authors. The parser calls them where it meets what
// they look at; with a null report they do nothing, so the game pays for none of it.

// What the first pass saw that the checks need.
struct CheckFacts {
    bool sawStart = false;
    int bpmLine = 0;  // the last BPM line; 0 for none
    int waveLine = 0; // the last WAVE line; 0 for none
    bool hasTitle = false;
    bool hasLevel = false;
    int lastPiecedLine = 0; // the last line reported as read in pieces
};

void addFinding(ChartReport *report, int line, bool error, const std::string &message);

// Every line of the file: read in pieces, cut at a NUL byte, and the TITLE and LEVEL lines, which
// the catalogue reads from any line, body included.
void checkLine(const LineReader &reader, const std::string &line, CheckFacts &facts, ChartReport *report);

// A body line: notes an author most likely meant but wrote so that they are not tokens.
void checkNearMisses(const std::string &line, int lineNumber, ChartReport *report);

// After both passes: the keys every chart needs, and its music file.
void addMissingKeyFindings(const Chart &chart, const CheckFacts &facts, ChartReport *report);
