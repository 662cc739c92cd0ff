#include "mapped_fonts.h"

#include <algorithm>
#include <cctype>
#include <fstream>

int mappedFontFiles(const std::string &process)
{
    std::ifstream maps("/proc/" + process + "/maps");
    int count = 0;
    for (std::string line; std::getline(maps, line);) {
        std::transform(line.begin(), line.end(), line.begin(), [](unsigned char c) { return std::tolower(c); });
        for (const char *extension : {".ttf", ".ttc", ".otf"}) {
            const size_t at = line.rfind(extension);
            count += at != std::string::npos && at + 4 == line.size();
        }
    }
    return count;
}
