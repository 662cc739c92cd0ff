#include "library/ranking.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "library/file_lookup.h"
#include "library/line_reader.h"
#include "platform/trace.h"

int ranking[RankCount] = {LoadTimeRanking[0], LoadTimeRanking[1], LoadTimeRanking[2], LoadTimeRanking[3],
                          LoadTimeRanking[4], LoadTimeRanking[5], LoadTimeRanking[6], LoadTimeRanking[7],
                          LoadTimeRanking[8], LoadTimeRanking[9]};

namespace {

std::string rankingPath()
{
    return dataDirectory() + "/score.hsc";
}

// "%d": leading blanks and a sign allowed; false when the text holds no number.
bool readScore(const std::string &line, int &score)
{
    const char *start = line.c_str();
    char *end = nullptr;
    long value = std::strtol(start, &end, 10);
    if (end == start)
        return false;
    score = static_cast<int>(value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : value);
    return true;
}

bool writeAll(int fd, const std::string &text)
{
    size_t written = 0;
    while (written < text.size()) {
        ssize_t got = write(fd, text.data() + written, text.size() - written);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        written += static_cast<size_t>(got);
    }
    return true;
}

} // namespace

void readRankingFile(const std::string &path, int ranking[10])
{
    std::string text;
    if (!readFileText(path, text)) {
        if (pathKind(path) != PathKind::Missing)
            return;  // there but unreadable: keep what we have rather than invent scores
        for (int i = 0; i < RankCount; i++)
            ranking[i] = 175000 - 15000 * i;
        return;
    }
    LineReader reader = makeLineReader(text, 255);
    std::string line, next;
    bool anyLine = false;
    for (int i = 0; i < RankCount; i++) {
        // Past the last line the last line read is parsed again.
        if (readLine(reader, next)) {
            line = next;
            anyLine = true;
        }
        if (anyLine)
            readScore(line, ranking[i]);
    }
}

bool writeRankingFile(const std::string &path, const int ranking[10])
{
    std::string text;
    for (int i = 0; i < RankCount; i++)
        text += std::to_string(ranking[i]) + "\r\n";
    std::string temporary = path + ".tmp";
    int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0)
        return false;
    bool written = writeAll(fd, text) && fsync(fd) == 0;
    if (close(fd) != 0)
        written = false;
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        unlink(temporary.c_str());
        return false;
    }
    return true;
}

int insertRankingScore(int ranking[10], int score)
{
    for (int i = 0; i < RankCount; i++) {
        if (score >= ranking[i]) {
            for (int k = RankCount - 1; k > i; k--)
                ranking[k] = ranking[k - 1];
            ranking[i] = score;
            return i;
        }
    }
    return RankCount;
}

void loadRanking()
{
    readRankingFile(rankingPath(), ranking);
}

void saveRanking()
{
    writeRankingFile(rankingPath(), ranking);
}

int enterRanking(int creditScore)
{
    const int place = insertRankingScore(ranking, creditScore);
    trace("ranking %d %d", place, creditScore);
    saveRanking();
    return place;
}
