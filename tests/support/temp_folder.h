#pragma once
#include <string>

// A fresh empty folder under the system temp folder, removed with its contents at destruction.
struct TempFolder {
    std::string path;
    TempFolder();
    ~TempFolder();
    std::string file(const std::string &name) const { return path + "/" + name; }
};

std::string readWholeFile(const std::string &path);
void writeWholeFile(const std::string &path, const std::string &text);
bool fileExists(const std::string &path);
