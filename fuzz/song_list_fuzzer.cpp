// Any bytes as a song list and as the chart it names, read from a scratch data folder.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/app_context.h"
#include "library/song_list.h"

namespace {

std::string scratchFolder()
{
    static std::string folder = [] {
        char pattern[] = "/tmp/lumatide-fuzz-XXXXXX";
        return std::string(mkdtemp(pattern));
    }();
    return folder;
}

void writeFile(const std::string &path, const uint8_t *data, size_t size)
{
    FILE *file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        std::abort();
    std::fwrite(data, 1, size, file);
    std::fclose(file);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string folder = scratchFolder();
    writeFile(folder + "/songlist.txt", data, size);
    // Every listed line that ends in "x.txt" finds this chart: the same bytes again.
    writeFile(folder + "/x.txt", data, size);
    Catalogue catalogue;
    readSongList(folder, catalogue);
    if (catalogue.songs.size() != catalogue.songCount || catalogue.titleTextures.size() != catalogue.songCount)
        std::abort();
    return 0;
}
