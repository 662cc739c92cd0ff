#pragma once
#include <string>

#include "library/chart.h"

std::string readWholeFile(const std::string &path);

// Parses chart text in a fresh chart at the load-time octave range.
Chart parseText(const std::string &text);
