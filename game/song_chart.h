#pragma once
#include <string>

// Parses the chart of the selected catalogue entry into the chart of the song being played; with
// no song selected (an empty catalogue) the chart is one that cannot be read. False when the chart
// could not be read. A listed chart that cannot be read, or has no usable tempo, is named on stderr
// with the reason; chartPath, when given, receives the path it was looked for at.
bool parseChart(std::string *chartPath = nullptr);
