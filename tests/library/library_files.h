#pragma once
#include <string>

#include "library/chart.h"
#include "support/chart_tool_run.h"
#include "support/scratch_folder.h"

// Parses chart text in a fresh chart at the load-time octave range.
Chart parseText(const std::string &text);
