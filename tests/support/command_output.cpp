#include "support/command_output.h"

#include <sys/wait.h>

#include <cstdio>

std::string commandOutput(const std::string &command, int *exitCode)
{
    std::string output;
    if (exitCode)
        *exitCode = -1;
    FILE *pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return output;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, got);
    const int status = pclose(pipe);
    if (exitCode && WIFEXITED(status))
        *exitCode = WEXITSTATUS(status);
    return output;
}
