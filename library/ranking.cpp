#include "library/ranking.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "library/file_replace.h"
#include "library/line_reader.h"
#include "platform/paths.h"
#include "platform/regular_file.h"
#include "platform/trace.h"

int ranking[RankCount] = {LoadTimeRanking[0], LoadTimeRanking[1], LoadTimeRanking[2], LoadTimeRanking[3],
                          LoadTimeRanking[4], LoadTimeRanking[5], LoadTimeRanking[6], LoadTimeRanking[7],
                          LoadTimeRanking[8], LoadTimeRanking[9]};

namespace {

// Ten short lines; a file far larger than that is not a score file, whatever it holds.
const uint64_t MaxRankingFileBytes = 64 * 1024;
std::string rankingPath() { return savedDataDirectory() + "/score.hsc"; }

enum class ScoreText { None, Approximate, Exact };

// "%d": leading blanks and a sign allowed. Exact when the line holds that number and nothing
// else and it fits an int; a clamped value or text after the number is Approximate.
ScoreText readScore(const std::string &line, int &score)
{
    const char *start = line.c_str();
    char *end = nullptr;
    errno = 0;
    long value = std::strtol(start, &end, 10);
    if (end == start)
        return ScoreText::None;
    const bool fits = errno != ERANGE && value >= INT_MIN && value <= INT_MAX;
    score = static_cast<int>(value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : value);
    while (*end == ' ' || *end == '\t')
        end++;
    return fits && *end == '\0' ? ScoreText::Exact : ScoreText::Approximate;
}

// Fills the ranking as the game always has; returns the first line of the file that was not
// taken as it stands (not a number, more than a number, a NUL byte, or more lines than ten
// scores), 0 when every line was.
int parseRanking(const std::string &text, int ranking[10])
{
    LineReader reader = makeLineReader(text, 255);
    std::string line, next;
    bool anyLine = false;
    int firstBadLine = 0;
    for (int i = 0; i < RankCount; i++) {
        // Past the last line the last line read is parsed again.
        const bool fresh = readLine(reader, next);
        if (fresh) {
            line = next;
            anyLine = true;
        }
        if (!anyLine)
            continue;
        const bool exact = readScore(line, ranking[i]) == ScoreText::Exact && !reader.cutAtNul;
        if (fresh && !exact && firstBadLine == 0)
            firstBadLine = reader.lineNumber;
    }
    while (firstBadLine == 0 && readLine(reader, next)) {
        if (next.find_first_not_of(" \t") != std::string::npos)
            firstBadLine = reader.lineNumber;
    }
    return firstBadLine;
}

// Why what stands at path must be kept before it is replaced: empty when it reads cleanly as a
// score file or nothing is there.
std::string damageOf(const std::string &path)
{
    std::string text, reason;
    switch (readRegularFile(path, MaxRankingFileBytes, text, reason)) {
    case FileStatus::Missing:
        return "";
    case FileStatus::Refused:
        return reason;
    case FileStatus::Opened:
        break;
    }
    int scratch[RankCount] = {};
    const int badLine = parseRanking(text, scratch);
    return badLine == 0 ? "" : "line " + std::to_string(badLine) + " is not one of ten scores";
}

// Keeps what stands at target as target.bad, replacing an older copy. A hard link leaves the old
// file in place until the rename; where links are impossible the file itself moves (a folder
// never does).
bool keepAsBad(const std::string &target, const std::string &kept, std::string &reason)
{
    if (unlink(kept.c_str()) != 0 && errno != ENOENT) {
        reason = "cannot replace " + kept + ": " + std::strerror(errno);
        return false;
    }
    if (link(target.c_str(), kept.c_str()) == 0)
        return true;
    const int error = errno;
    struct stat info;
    if (lstat(target.c_str(), &info) == 0 && !S_ISDIR(info.st_mode) && std::rename(target.c_str(), kept.c_str()) == 0)
        return true;
    reason = "cannot keep it as " + kept + ": " + std::strerror(error);
    return false;
}

bool failToSave(const std::string &target, const std::string &reason)
{
    std::fprintf(stderr, "lumatide: %s: cannot save the ranking (%s); the new scores are kept in memory only\n",
                 target.c_str(), reason.c_str());
    return false;
}

} // namespace

void readRankingFile(const std::string &path, int ranking[10])
{
    std::string text, reason;
    const FileStatus status = readRegularFile(path, MaxRankingFileBytes, text, reason);
    if (status == FileStatus::Opened) {
        parseRanking(text, ranking);
        return;
    }
    // A file that does not open gives the file defaults; one that is there but refused is kept as
    // score.hsc.bad by the next save, so nothing of it is lost.
    if (status == FileStatus::Refused)
        std::fprintf(stderr, "lumatide: %s: %s; the ranking starts from the defaults\n", path.c_str(), reason.c_str());
    for (int i = 0; i < RankCount; i++)
        ranking[i] = 175000 - 15000 * i;
}

bool writeRankingFile(const std::string &path, const int ranking[10])
{
    std::string text;
    for (int i = 0; i < RankCount; i++)
        text += std::to_string(ranking[i]) + "\r\n";
    const std::string target = replaceTarget(path);
    const std::string temporary = target + ".tmp";
    std::string reason;
    if (!writeTemporaryFile(temporary, text, reason))
        return failToSave(target, reason);
    const std::string damage = damageOf(target);
    const std::string kept = target + ".bad";
    if (!damage.empty() && !keepAsBad(target, kept, reason)) {
        unlink(temporary.c_str());
        return failToSave(target, damage + "; " + reason);
    }
    if (!damage.empty())
        std::fprintf(stderr, "lumatide: %s: %s; kept as %s before saving the ranking\n", target.c_str(), damage.c_str(),
                     kept.c_str());
    return renameOver(temporary, target, reason) || failToSave(target, reason);
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

void loadRanking() { readRankingFile(rankingPath(), ranking); }

void saveRanking() { writeRankingFile(rankingPath(), ranking); }

int enterRanking(int creditScore)
{
    const int place = insertRankingScore(ranking, creditScore);
    trace("ranking %d %d", place, creditScore);
    saveRanking();
    return place;
}
