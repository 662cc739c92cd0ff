#pragma once

// With LUMATIDE_TRACE=1 in the environment, writes one line "<timer ms> <event>" to stderr.
// Users and tests read these lines: keep their words stable.
bool traceEnabled();
void trace(const char *format, ...) __attribute__((format(printf, 1, 2)));
