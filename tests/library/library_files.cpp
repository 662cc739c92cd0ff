#include "library_files.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "library/chart_parser.h"

ScratchFolder::ScratchFolder()
{
    char pattern[] = "/tmp/lumatide-library-XXXXXX";
    path = mkdtemp(pattern);
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

std::string ScratchFolder::write(const std::string &name, const std::string &text) const
{
    std::string full = path + "/" + name;
    std::filesystem::create_directories(std::filesystem::path(full).parent_path());
    std::ofstream(full, std::ios::binary) << text;
    return full;
}

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
