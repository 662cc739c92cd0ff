#include "library_files.h"

#include <fstream>
#include <sstream>

#include "library/chart_parser.h"

std::string readWholeFile(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

Chart parseText(const std::string &text)
{
    Chart chart;
    parseChartText(text, "/nonexistent", 1, chart);
    return chart;
}
