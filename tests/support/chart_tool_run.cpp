#include "support/chart_tool_run.h"

#include <sys/wait.h>

#include <cstdio>

ToolRun runChartTool(const std::string &arguments)
{
    ToolRun run;
    const std::string command = std::string(LUMATIDE_BUILD_DIR "/lumatide-chart ") + arguments + " 2>/dev/null";
    FILE *pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return run;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.output.append(buffer, got);
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}
