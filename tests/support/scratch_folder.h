#pragma once
#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

// A fresh folder under /tmp, removed with everything in it when the record goes. Tests,
// benchmarks and the song-list fuzzer write their files into one.
struct ScratchFolder {
    std::string path;

    ScratchFolder()
    {
        char pattern[] = "/tmp/lumatide-test-XXXXXX";
        if (mkdtemp(pattern) == nullptr)
            throw std::runtime_error(std::string("cannot create a scratch folder under /tmp: ") + std::strerror(errno));
        path = pattern;
    }

    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }

    // Two records would remove the same folder.
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;

    std::string file(const std::string &name) const { return path + "/" + name; }

    // Writes the bytes to name inside the folder, making its folders; returns the file's path.
    std::string write(const std::string &name, const std::string &text) const
    {
        std::string full = path + "/" + name;
        std::filesystem::create_directories(std::filesystem::path(full).parent_path());
        std::ofstream file(full, std::ios::binary);
        file << text;
        if (!file)
            throw std::runtime_error("cannot write " + full);
        return full;
    }
};

inline std::string readWholeFile(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

inline void writeWholeFile(const std::string &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

inline bool fileExists(const std::string &path) { return std::filesystem::exists(path); }
