#include "platform/trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/timer.h"

bool traceEnabled()
{
    static const bool enabled = [] {
        const char *value = std::getenv("LUMATIDE_TRACE");
        return value != nullptr && std::strcmp(value, "1") == 0;
    }();
    return enabled;
}

void trace(const char *format, ...)
{
    if (!traceEnabled())
        return;
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    std::fprintf(stderr, "%u %s\n", timerNowMs(), line);
    std::fflush(stderr);
}
