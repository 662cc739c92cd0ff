#pragma once
// Parses the chart of the selected catalogue entry into the chart of the song being played; with
// no song selected (an empty catalogue) the chart is one that cannot be read. False when the chart
// could not be read; a listed chart that cannot is named on stderr with the reason.
bool parseChart();
