// Any bytes as a song list and as the chart it names, read from a scratch data folder.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/app_context.h"
#include "library/song_list.h"
#include "tests/support/scratch_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // A folder of its own for every input, gone when the input is done.
    ScratchFolder folder;
    std::string bytes(reinterpret_cast<const char *>(data), size);
    folder.write("songlist.txt", bytes);
    // Every listed line that ends in "x.txt" finds this chart: the same bytes again.
    folder.write("x.txt", bytes);
    Catalogue catalogue;
    readSongList(folder.path, catalogue);
    if (catalogue.songs.size() != catalogue.songCount || catalogue.titleTextures.size() != catalogue.songCount)
        std::abort();
    return 0;
}
