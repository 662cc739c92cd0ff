#pragma once
#include <string>

// Runs a shell command and returns what it wrote on stdout; its exit status goes to exitCode when
// given (-1 when it did not exit normally or could not start).
std::string commandOutput(const std::string &command, int *exitCode = nullptr);
