#pragma once
#include <string>

struct ToolRun {
    std::string output; // stdout only
    int exitCode = -1;
};

// Runs the built lumatide-chart with these shell-quoted arguments.
ToolRun runChartTool(const std::string &arguments);
