#pragma once
#include <string>

#include "library/chart.h"
#include "support/scratch_folder.h"

// Parses chart text in a fresh chart at the load-time octave range.
Chart parseText(const std::string &text);

struct ToolRun {
    std::string output; // stdout only
    int exitCode = -1;
};

// Runs the built lumatide-chart with these shell-quoted arguments.
ToolRun runChartTool(const std::string &arguments);
