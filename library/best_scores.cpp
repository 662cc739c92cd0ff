#include "library/best_scores.h"

#include <strings.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "library/catalogue.h"
#include "library/file_lookup.h"
#include "library/file_replace.h"
#include "library/line_reader.h"
#include "platform/paths.h"
#include "platform/regular_file.h"

BestScores bests;

namespace {

// A line per song: far below this even for the largest song list.
const uint64_t MaxBestFileBytes = uint64_t(16) << 20;
const size_t FieldCount = 6;

std::vector<std::string> splitTabs(const std::string &line)
{
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos)
            return fields;
        start = tab + 1;
    }
}

enum class Count { Read, NotANumber, TooLarge };

// Plain decimal digits only, and within an int.
Count readCount(const std::string &text, int &value)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        return Count::NotANumber;
    const size_t firstDigit = std::min(text.find_first_not_of('0'), text.size() - 1);
    if (text.size() - firstDigit > 10)
        return Count::TooLarge;
    const long long number = std::strtoll(text.c_str() + firstDigit, nullptr, 10);
    if (number > INT_MAX)
        return Count::TooLarge;
    value = static_cast<int>(number);
    return Count::Read;
}

int twoDigits(const std::string &text, size_t at) { return (text[at] - '0') * 10 + (text[at + 1] - '0'); }

// YYYY-MM-DD with a month of the year and a day a month can have (not checked against the month).
bool isDate(const std::string &text)
{
    if (text.size() != 10)
        return false;
    for (size_t i = 0; i < text.size(); i++) {
        const bool dash = i == 4 || i == 7;
        if (dash ? text[i] != '-' : (text[i] < '0' || text[i] > '9'))
            return false;
    }
    const int month = twoDigits(text, 5);
    const int day = twoDigits(text, 8);
    return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

// Why the line is not a best, empty when it is one.
std::string parseBestLine(const std::string &line, std::string &chartFile, BestScore &best)
{
    const std::vector<std::string> fields = splitTabs(line);
    if (fields.size() != FieldCount)
        return std::to_string(fields.size()) + " fields instead of " + std::to_string(FieldCount);
    chartFile = fields[0];
    if (chartFile.empty())
        return "no chart file name";
    int *const numbers[4] = {&best.score, &best.great, &best.good, &best.miss};
    static const char *const names[4] = {"score", "great count", "good count", "miss count"};
    for (int i = 0; i < 4; i++) {
        switch (readCount(fields[1 + i], *numbers[i])) {
        case Count::Read:
            break;
        case Count::NotANumber:
            return std::string("the ") + names[i] + " '" + fields[1 + i] + "' is not a whole number";
        case Count::TooLarge:
            return std::string("the ") + names[i] + " '" + fields[1 + i] + "' is out of range (at most " +
                   std::to_string(INT_MAX) + ")";
        }
    }
    if (!isDate(fields[5]))
        return "the date '" + fields[5] + "' is not YYYY-MM-DD";
    best.date = fields[5];
    return "";
}

bool nameFitsTheFile(const std::string &chartFile)
{
    return !chartFile.empty() && chartFile.find_first_of("\t\r\n") == std::string::npos;
}

const char *const BestFileName = "best.txt";

// Only a chart named best.txt, in any case and any folder, can resolve to the best file: the rest
// need no look on the disk.
bool mayBeTheBestFile(const std::string &chartFile)
{
    const size_t slash = chartFile.find_last_of("/\\");
    return strcasecmp(chartFile.c_str() + (slash == std::string::npos ? 0 : slash + 1), BestFileName) == 0;
}

} // namespace

std::string bestFilePath() { return savedDataDirectory() + "/" + BestFileName; }

void loadBestScores()
{
    const std::string path = bestFilePath();
    for (const SongEntry &song : catalogue.songs) {
        if (mayBeTheBestFile(song.fileName) && findDataFile(songFolder(song), song.fileName) == path) {
            std::fprintf(stderr, "lumatide: %s: listed as a chart in the song list; the per-song bests are not kept\n",
                         path.c_str());
            bests.saving = false;
            bests.byChart.clear();
            return;
        }
    }
    bests.saving = true;
    readBestFile(path, bests.byChart);
}

bool saveBestScores() { return bests.saving && writeBestFile(bestFilePath(), bests.byChart); }

void readBestFile(const std::string &path, BestScoreTable &table)
{
    table.clear();
    std::string text, reason;
    switch (readRegularFile(path, MaxBestFileBytes, text, reason)) {
    case FileStatus::Missing:
        return;
    case FileStatus::Refused:
        std::fprintf(stderr, "lumatide: %s: %s; the per-song bests start empty\n", path.c_str(), reason.c_str());
        return;
    case FileStatus::Opened:
        break;
    }
    LineReader reader = makeLineReader(text, text.size() + 1);
    std::string line;
    while (readLine(reader, line)) {
        // A line cut at a NUL may be empty before it; it is still a damaged line, not a blank one.
        if (line.empty() && !reader.cutAtNul)
            continue;
        std::string chartFile;
        BestScore best;
        std::string why = reader.cutAtNul ? "a NUL byte" : parseBestLine(line, chartFile, best);
        if (!why.empty()) {
            std::fprintf(stderr, "lumatide: %s: line %d: %s; the line is skipped\n", path.c_str(), reader.lineNumber,
                         why.c_str());
            continue;
        }
        offerBestScore(table, chartFile, best);
    }
}

bool writeBestFile(const std::string &path, const BestScoreTable &table)
{
    std::string text;
    for (const auto &[chartFile, best] : table) {
        text += chartFile + '\t' + std::to_string(best.score) + '\t' + std::to_string(best.great) + '\t' +
                std::to_string(best.good) + '\t' + std::to_string(best.miss) + '\t' + best.date + "\r\n";
    }
    std::string target, reason;
    if (replaceFileText(path, text, target, reason))
        return true;
    std::fprintf(stderr, "lumatide: %s: cannot save the per-song bests (%s); the new best is kept in memory only\n",
                 target.c_str(), reason.c_str());
    return false;
}

bool offerBestScore(BestScoreTable &table, const std::string &chartFile, const BestScore &score)
{
    if (!nameFitsTheFile(chartFile))
        return false;
    const auto found = table.find(chartFile);
    if (found != table.end() && score.score <= found->second.score)
        return false;
    table[chartFile] = score;
    return true;
}

const BestScore *findBestScore(const BestScoreTable &table, const std::string &chartFile)
{
    const auto found = table.find(chartFile);
    return found == table.end() ? nullptr : &found->second;
}
