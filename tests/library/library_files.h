#pragma once
#include <string>

#include "library/chart.h"

// A fresh folder under /tmp, removed with everything in it when the test ends.
struct ScratchFolder {
    std::string path;
    ScratchFolder();
    ~ScratchFolder();
    std::string write(const std::string &name, const std::string &text) const;
};

std::string readWholeFile(const std::string &path);

// Parses chart text in a fresh chart at the load-time octave range.
Chart parseText(const std::string &text);
