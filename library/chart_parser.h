#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "library/chart.h"

// What an author should hear about a chart; collected only when asked for.
struct ChartFinding {
    int line = 0;
    bool error = false;
    std::string message;
};

struct ChartReport {
    std::string waveValue;              // the last WAVE value as written; empty for none
    std::vector<ChartFinding> findings; // in line order
};

// Tokens in one measure beyond which an author is warned: notes that close are hard to read.
constexpr size_t MeasureTokenLimit = 170;

// A measure's length in ms (fraction, not truncated) at a tempo, for a #MEASURE length in whole
// notes. Everything that times measures as the game does goes through this one expression.
inline double measureLengthMs(double bpm, double measureLength) { return 60000 / bpm * 4 * measureLength; }

// The parser itself, on a file path and a chart record: the game and the chart tool both run it.
// The music is looked for in dataDir; level gives the difficulty values. Keys the chart does not
// give keep the chart's previous values. Returns false when the file cannot be read (the chart is
// then empty, and whyNot, when given, says why).
bool parseChartFile(const std::string &chartPath, const std::string &dataDir, uint16_t level, Chart &chart,
                    ChartReport *report = nullptr, std::string *whyNot = nullptr);
void parseChartText(const std::string &text, const std::string &dataDir, uint16_t level, Chart &chart,
                    ChartReport *report = nullptr);

// The chart of a song whose file cannot be read: no notes, no measures; the header values stay.
void makeEmptyChart(Chart &chart, uint16_t level);
