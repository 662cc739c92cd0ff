// Any bytes as the ranking file: what was loaded, saved and loaded again is the same ranking, and
// so is a ranking with a score entered into it (the score is the input's first four bytes).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "library/ranking.h"
#include "tests/support/scratch_folder.h"

namespace {

void expectSameAfterSaveAndLoad(const std::string &path, const int ranking[10])
{
    if (!writeRankingFile(path, ranking))
        std::abort();
    // Values a file that reads back nothing would leave: none of them can come from the file.
    int loaded[10];
    for (int i = 0; i < 10; i++)
        loaded[i] = ranking[i] ^ 0x5a5a5a5a;
    readRankingFile(path, loaded);
    for (int i = 0; i < 10; i++) {
        if (loaded[i] != ranking[i]) {
            std::fprintf(stderr, "score_fuzzer: rank %d saved as %d, loaded as %d\n", i, ranking[i], loaded[i]);
            std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ScratchFolder folder;
    const std::string path = folder.write("score.hsc", std::string(reinterpret_cast<const char *>(data), size));
    int ranking[10];
    for (int i = 0; i < 10; i++)
        ranking[i] = 1000 * (10 - i);
    readRankingFile(path, ranking);
    expectSameAfterSaveAndLoad(path, ranking);

    int32_t score = 0;
    std::memcpy(&score, data, size < sizeof score ? size : sizeof score);
    const int rank = insertRankingScore(ranking, score);
    if (rank < 0 || rank > 10 || (rank < 10 && ranking[rank] != score))
        std::abort();
    expectSameAfterSaveAndLoad(path, ranking);
    return 0;
}
