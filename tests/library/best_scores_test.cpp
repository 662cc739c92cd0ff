#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "library/best_scores.h"
#include "support/scratch_folder.h"

namespace fs = std::filesystem;

namespace {

BestScore best(int score, int great, int good, int miss, const char *date)
{
    BestScore b;
    b.score = score;
    b.great = great;
    b.good = good;
    b.miss = miss;
    b.date = date;
    return b;
}

bool same(const BestScore &a, const BestScore &b)
{
    return a.score == b.score && a.great == b.great && a.good == b.good && a.miss == b.miss && a.date == b.date;
}

bool sameTables(const BestScoreTable &a, const BestScoreTable &b)
{
    if (a.size() != b.size())
        return false;
    for (const auto &[name, score] : a) {
        const BestScore *other = findBestScore(b, name);
        if (other == nullptr || !same(score, *other))
            return false;
    }
    return true;
}

size_t lineCount(const std::string &text) { return size_t(std::count(text.begin(), text.end(), '\n')); }

} // namespace

TEST(BestScores, RoundTripInCrLfTabLines)
{
    ScratchFolder data;
    BestScoreTable table;
    table["song2.txt"] = best(98760, 50, 3, 1, "2026-12-07");
    table["a b/\xE6\x98\x9F.txt"] = best(0, 0, 0, 40, "2025-01-31");
    table["song1.txt"] = best(2147483647, 1, 2, 3, "1999-12-31");
    const std::string path = data.file("best.txt");
    ASSERT_TRUE(writeBestFile(path, table));
    EXPECT_EQ(readWholeFile(path),
              "a b/\xE6\x98\x9F.txt\t0\t0\t0\t40\t2025-01-31\r\n"
              "song1.txt\t2147483647\t1\t2\t3\t1999-12-31\r\n"
              "song2.txt\t98760\t50\t3\t1\t2026-12-07\r\n");
    EXPECT_FALSE(fileExists(path + ".tmp"));
    BestScoreTable back;
    back["stale.txt"] = best(1, 1, 1, 1, "2000-01-01");
    readBestFile(path, back);
    EXPECT_TRUE(sameTables(back, table));
}

TEST(BestScores, DamagedLinesAreSkippedAndTheRestKept)
{
    ScratchFolder data;
    const char withNul[] = "bad.txt\t100\t1\t2\t3\t2026-12-07\0tail";
    const std::string nulLine(withNul, sizeof withNul - 1);
    const std::string onlyNul("\0tail", 5);
    struct Case {
        std::string line;
        const char *reason;
    } cases[] = {
        {"bad.txt\t100\t1\t2\t3", "5 fields instead of 6"},
        {"bad.txt\t100\t1\t2\t3\t2026-12-07\textra", "7 fields instead of 6"},
        {"\t100\t1\t2\t3\t2026-12-07", "no chart file name"},
        {"bad.txt\tlots\t1\t2\t3\t2026-12-07", "the score 'lots' is not a whole number"},
        {"bad.txt\t-5\t1\t2\t3\t2026-12-07", "the score '-5' is not a whole number"},
        {"bad.txt\t99999999999\t1\t2\t3\t2026-12-07", "the score '99999999999' is out of range (at most 2147483647)"},
        {"bad.txt\t100\t2147483648\t2\t3\t2026-12-07",
         "the great count '2147483648' is out of range (at most 2147483647)"},
        {"bad.txt\t100\t1 \t2\t3\t2026-12-07", "the great count '1 ' is not a whole number"},
        {"bad.txt\t100\t1\t\t3\t2026-12-07", "the good count '' is not a whole number"},
        {"bad.txt\t100\t1\t2\tx\t2026-12-07", "the miss count 'x' is not a whole number"},
        {"bad.txt\t100\t1\t2\t3\t7.12.2026", "the date '7.12.2026' is not YYYY-MM-DD"},
        {"bad.txt\t100\t1\t2\t3\t2026-13-45", "the date '2026-13-45' is not YYYY-MM-DD"},
        {"bad.txt\t100\t1\t2\t3\t2026-00-10", "the date '2026-00-10' is not YYYY-MM-DD"},
        {"bad.txt\t100\t1\t2\t3\t2026-12-32", "the date '2026-12-32' is not YYYY-MM-DD"},
        {"bad.txt\t100\t1\t2\t3\t2026-12-00", "the date '2026-12-00' is not YYYY-MM-DD"},
        {nulLine, "a NUL byte"},
        {onlyNul, "a NUL byte"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.reason);
        const std::string path = data.write("best.txt", "good1.txt\t10\t1\t0\t0\t2026-01-01\r\n" + c.line +
                                                            "\r\n\r\ngood2.txt\t20\t2\t0\t0\t2026-01-02\n");
        BestScoreTable table;
        testing::internal::CaptureStderr();
        readBestFile(path, table);
        const std::string message = testing::internal::GetCapturedStderr();
        EXPECT_EQ(message, "lumatide: " + path + ": line 2: " + c.reason + "; the line is skipped\n");
        EXPECT_EQ(table.size(), 2u);
        EXPECT_EQ(findBestScore(table, "bad.txt"), nullptr);
        ASSERT_NE(findBestScore(table, "good1.txt"), nullptr);
        ASSERT_NE(findBestScore(table, "good2.txt"), nullptr);
        EXPECT_EQ(findBestScore(table, "good2.txt")->score, 20);
    }
}

TEST(BestScores, MissingOrRefusedFileGivesNoBests)
{
    ScratchFolder data;
    BestScoreTable table;
    table["x.txt"] = best(1, 1, 0, 0, "2026-01-01");
    testing::internal::CaptureStderr();
    readBestFile(data.file("none.txt"), table);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "no file is the usual first start";
    EXPECT_TRUE(table.empty());

    mkdir(data.file("folder.txt").c_str(), 0755);
    table["x.txt"] = best(1, 1, 0, 0, "2026-01-01");
    testing::internal::CaptureStderr();
    readBestFile(data.file("folder.txt"), table);
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(table.empty());
    EXPECT_NE(message.find(data.file("folder.txt") + ": not a regular file"), std::string::npos) << message;
    EXPECT_EQ(lineCount(message), 1u) << message;
}

TEST(BestScores, AChartNamedTwiceKeepsItsHigherScore)
{
    ScratchFolder data;
    const std::string path = data.write("best.txt",
                                        "s.txt\t300\t3\t0\t0\t2026-01-01\r\n"
                                        "s.txt\t500\t5\t0\t0\t2026-01-02\r\n"
                                        "s.txt\t400\t4\t0\t0\t2026-01-03\r\n");
    BestScoreTable table;
    readBestFile(path, table);
    ASSERT_NE(findBestScore(table, "s.txt"), nullptr);
    EXPECT_TRUE(same(*findBestScore(table, "s.txt"), best(500, 5, 0, 0, "2026-01-02")));
}

// A failed save leaves the old file whole, says why once, and leaves no temporary file behind.
TEST(BestScores, AFailedSaveLeavesTheOldFileWhole)
{
    ScratchFolder data;
    const std::string old = "s.txt\t300\t3\t0\t0\t2026-01-01\r\n";
    const std::string path = data.write("best.txt", old);
    BestScoreTable table;
    table["s.txt"] = best(900, 9, 0, 0, "2026-02-02");
    // The temporary file cannot be created where a folder stands.
    mkdir((path + ".tmp").c_str(), 0755);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(writeBestFile(path, table));
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_EQ(readWholeFile(path), old);
    EXPECT_NE(message.find("lumatide: " + path + ": cannot save the per-song bests ("), std::string::npos) << message;
    EXPECT_EQ(lineCount(message), 1u) << message;
    rmdir((path + ".tmp").c_str());

    // A link stays a link: the file it names gets the new text.
    const std::string elsewhere = data.write("kept/real-best.txt", old);
    const std::string linked = data.file("linked-best.txt");
    fs::create_symlink(elsewhere, linked);
    ASSERT_TRUE(writeBestFile(linked, table));
    EXPECT_TRUE(fs::is_symlink(linked));
    EXPECT_EQ(readWholeFile(elsewhere), "s.txt\t900\t9\t0\t0\t2026-02-02\r\n");

    testing::internal::CaptureStderr();
    EXPECT_FALSE(writeBestFile(data.file("no-folder/best.txt"), table));
    EXPECT_EQ(lineCount(testing::internal::GetCapturedStderr()), 1u);
}

TEST(BestScores, OfferKeepsTheHigherScore)
{
    struct Case {
        const char *name;
        const char *chart;
        int offered;
        bool stored;
        int kept;
    } cases[] = {
        {"a first score, even 0", "new.txt", 0, true, 0},
        {"higher", "s.txt", 501, true, 501},
        {"a tie keeps the older best", "s.txt", 500, false, 500},
        {"lower", "s.txt", 10, false, 500},
        {"a name with a tab cannot be written", "a\tb.txt", 900, false, -1},
        {"nor one with a line break", "a\rb.txt", 900, false, -1},
        {"nor an empty one", "", 900, false, -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        BestScoreTable table;
        table["s.txt"] = best(500, 5, 0, 0, "2026-01-01");
        EXPECT_EQ(offerBestScore(table, c.chart, best(c.offered, 1, 2, 3, "2026-12-07")), c.stored);
        const BestScore *kept = findBestScore(table, c.chart);
        if (c.kept < 0) {
            EXPECT_EQ(kept, nullptr);
            continue;
        }
        ASSERT_NE(kept, nullptr);
        EXPECT_EQ(kept->score, c.kept);
        EXPECT_EQ(kept->date, c.stored ? "2026-12-07" : "2026-01-01");
    }
}
