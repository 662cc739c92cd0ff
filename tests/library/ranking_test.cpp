#include <gtest/gtest.h>

#include <sys/stat.h>

#include <vector>

#include "library/ranking.h"
#include "library_files.h"
#include "support/scratch_folder.h"

namespace {

std::vector<int> initialRanking()
{
    std::vector<int> ranking;
    for (int i = 0; i < 10; i++)
        ranking.push_back(150000 - 10000 * i);
    return ranking;
}

std::vector<int> fileDefaults()
{
    std::vector<int> ranking;
    for (int i = 0; i < 10; i++)
        ranking.push_back(175000 - 15000 * i);
    return ranking;
}

std::vector<int> readFrom(const std::string &path)
{
    std::vector<int> ranking = initialRanking();
    readRankingFile(path, ranking.data());
    return ranking;
}

} // namespace

TEST(Ranking, Loading)
{
    ScratchFolder data;
    std::vector<int> firstKept = initialRanking();
    for (int i = 1; i < 10; i++)
        firstKept[i] = 90;
    struct Case {
        const char *name;
        std::string text;
        std::vector<int> ranking;
    } cases[] = {
        {"ten lines LF", "10\n9\n8\n7\n6\n5\n4\n3\n2\n1\n", {10, 9, 8, 7, 6, 5, 4, 3, 2, 1}},
        {"ten lines CR LF", "10\r\n9\r\n8\r\n7\r\n6\r\n5\r\n4\r\n3\r\n2\r\n1\r\n", {10, 9, 8, 7, 6, 5, 4, 3, 2, 1}},
        {"three lines repeat the last", "300\n200\n100\n", {300, 200, 100, 100, 100, 100, 100, 100, 100, 100}},
        {"no final line break", "300\n200", {300, 200, 200, 200, 200, 200, 200, 200, 200, 200}},
        {"a word keeps the value", "abc\n90\n", firstKept},
        {"empty file keeps the values", "", initialRanking()},
        {"signs and blanks", "  -5\n+7\n", {-5, 7, 7, 7, 7, 7, 7, 7, 7, 7}},
        {"out of range is clamped", "99999999999\n", std::vector<int>(10, 2147483647)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(readFrom(data.write("score.hsc", c.text)), c.ranking);
    }
    EXPECT_EQ(readFrom(data.path + "/none.hsc"), fileDefaults());
    // A folder in the file's place opens but cannot be read.
    mkdir((data.path + "/folder.hsc").c_str(), 0755);
    EXPECT_EQ(readFrom(data.path + "/folder.hsc"), initialRanking());
}

TEST(Ranking, SavesTenCrLfLines)
{
    ScratchFolder data;
    std::vector<int> ranking = fileDefaults();
    ranking[9] = -3;
    ASSERT_TRUE(writeRankingFile(data.path + "/score.hsc", ranking.data()));
    EXPECT_EQ(readWholeFile(data.path + "/score.hsc"),
              "175000\r\n160000\r\n145000\r\n130000\r\n115000\r\n100000\r\n85000\r\n70000\r\n55000\r\n-3\r\n");
    EXPECT_EQ(readFrom(data.path + "/score.hsc"), ranking);
}

TEST(Ranking, AFailedSaveLeavesTheOldFileWhole)
{
    ScratchFolder data;
    std::string path = data.write("score.hsc", "1\n2\n3\n");
    // The temporary file cannot be created where a folder stands.
    mkdir((path + ".tmp").c_str(), 0755);
    std::vector<int> ranking = fileDefaults();
    EXPECT_FALSE(writeRankingFile(path, ranking.data()));
    EXPECT_EQ(readWholeFile(path), "1\n2\n3\n");
    EXPECT_FALSE(writeRankingFile(data.path + "/no-folder/score.hsc", ranking.data()));
}

TEST(Ranking, Entry)
{
    struct Case {
        int score;
        int rank;
        std::vector<int> after;
    } cases[] = {
        {160000, 1, {175000, 160000, 160000, 145000, 130000, 115000, 100000, 85000, 70000, 55000}},
        {200000, 0, {200000, 175000, 160000, 145000, 130000, 115000, 100000, 85000, 70000, 55000}},
        {40000, 9, {175000, 160000, 145000, 130000, 115000, 100000, 85000, 70000, 55000, 40000}},
        {39999, 10, fileDefaults()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.score);
        std::vector<int> ranking = fileDefaults();
        EXPECT_EQ(insertRankingScore(ranking.data(), c.score), c.rank);
        EXPECT_EQ(ranking, c.after);
    }
}
