// Any bytes as the per-song best file: what was loaded, saved and loaded again is the same table.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "library/best_scores.h"
#include "tests/support/scratch_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ScratchFolder folder;
    const std::string path = folder.write("best.txt", std::string(reinterpret_cast<const char *>(data), size));
    BestScoreTable loaded;
    readBestFile(path, loaded);
    if (!writeBestFile(path, loaded))
        std::abort();
    BestScoreTable again;
    readBestFile(path, again);
    if (again.size() != loaded.size())
        std::abort();
    for (const auto &[chart, best] : loaded) {
        const BestScore *read = findBestScore(again, chart);
        if (read == nullptr || read->score != best.score || read->great != best.great || read->good != best.good ||
            read->miss != best.miss || read->date != best.date)
            std::abort();
    }
    return 0;
}
