#include "support/chart_tool_run.h"

#include "support/command_output.h"

ToolRun runChartTool(const std::string &arguments)
{
    ToolRun run;
    run.output = commandOutput(std::string(LUMATIDE_BUILD_DIR "/lumatide-chart ") + arguments + " 2>/dev/null",
                               &run.exitCode);
    return run;
}
