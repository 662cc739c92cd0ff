#pragma once
// Parses the chart of the selected catalogue entry into the chart of the song being played; with
// no song selected (an empty catalogue) the chart is one that cannot be read.
void parseChart();
