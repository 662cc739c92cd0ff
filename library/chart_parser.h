#pragma once
// Parses the chart of the selected catalogue entry into the global chart.
void parseChart();
