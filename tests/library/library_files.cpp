#include "library_files.h"

#include "library/chart_parser.h"

Chart parseText(const std::string &text)
{
    Chart chart;
    parseChartText(text, "/nonexistent", 1, chart);
    return chart;
}
