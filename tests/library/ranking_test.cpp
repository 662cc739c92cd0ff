#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "library/ranking.h"
#include "library_files.h"
#include "support/no_wait.h"
#include "support/scratch_folder.h"

namespace fs = std::filesystem;

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

const std::string FileDefaultsText =
    "175000\r\n160000\r\n145000\r\n130000\r\n115000\r\n100000\r\n85000\r\n70000\r\n55000\r\n40000\r\n";

size_t lineCount(const std::string &text) { return size_t(std::count(text.begin(), text.end(), '\n')); }

struct Saved {
    bool finished = false;
    bool written = false;
    std::string messages;
};

// Saves the file defaults to path, failing instead of waiting on any of the pipes.
Saved saveDefaults(const std::string &path, const std::vector<std::string> &pipes = {})
{
    Saved saved;
    const std::vector<int> ranking = fileDefaults();
    testing::internal::CaptureStderr();
    saved.finished = finishesWithoutWaiting([&] { saved.written = writeRankingFile(path, ranking.data()); }, pipes);
    saved.messages = testing::internal::GetCapturedStderr();
    return saved;
}

// Holds writes of this process to a few bytes, as a full disk would, until it goes.
struct FullDisk {
    rlimit before{};
    FullDisk()
    {
        signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &before);
        rlimit small = before;
        small.rlim_cur = 8;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FullDisk() { setrlimit(RLIMIT_FSIZE, &before); }
};

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
    // A folder in the file's place is no score file: as with none, the file defaults.
    mkdir((data.path + "/folder.hsc").c_str(), 0755);
    EXPECT_EQ(readFrom(data.path + "/folder.hsc"), fileDefaults());
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

// A pipe, a device, or a file far too large for ten scores is neither waited on nor read: the
// ranking starts from the file defaults, as with no file, and one line names the file and why.
TEST(Ranking, FilesThatCannotBeScoresAreNotRead)
{
    ScratchFolder data;
    const std::string pipe = data.file("pipe.hsc");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", data.file("zero.hsc"));
    const std::string over = data.write("over.hsc", "1\n");
    fs::resize_file(over, 64 * 1024 + 1);
    const std::string sparse = data.write("sparse.hsc", "1\n");
    fs::resize_file(sparse, uintmax_t(4) << 30);
    const struct {
        std::string path;
        const char *reason;
    } cases[] = {
        {pipe, "not a regular file (a named pipe)"},
        {data.file("zero.hsc"), "not a regular file (a device)"},
        {over, "65537 bytes, larger than 64 KB"},
        {sparse, "4294967296 bytes, larger than 64 KB"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        std::vector<int> ranking = initialRanking();
        testing::internal::CaptureStderr();
        const bool finished = finishesWithoutWaiting([&] { readRankingFile(c.path, ranking.data()); }, {pipe});
        const std::string message = testing::internal::GetCapturedStderr();
        ASSERT_TRUE(finished);
        EXPECT_EQ(ranking, fileDefaults());
        EXPECT_NE(message.find(c.path + ": " + c.reason), std::string::npos) << message;
        EXPECT_EQ(lineCount(message), 1u) << message;
    }
}

TEST(Ranking, AFailedSaveSaysWhyAndKeepsTheOldFile)
{
    ScratchFolder data;
    const std::string path = data.file("score.hsc");
    // A damaged file is no different: it is kept as .bad only once the new scores are on the disk.
    for (const std::string &before : {FileDefaultsText, std::string("100\r\nnot a score\r\n")}) {
        SCOPED_TRACE(before);
        data.write("score.hsc", before);
        std::vector<int> ranking = fileDefaults();
        ranking[0] = 999999;
        Saved saved;
        // stderr goes into a pipe meanwhile: a captured stderr file would be held to the limit too.
        int toPipe[2];
        ASSERT_EQ(pipe(toPipe), 0);
        const int stderrBefore = dup(2);
        dup2(toPipe[1], 2);
        {
            FullDisk full;
            saved.written = writeRankingFile(path, ranking.data());
        }
        dup2(stderrBefore, 2);
        close(stderrBefore);
        close(toPipe[1]);
        char piece[4096];
        for (ssize_t got; (got = read(toPipe[0], piece, sizeof piece)) > 0;)
            saved.messages.append(piece, size_t(got));
        close(toPipe[0]);
        EXPECT_FALSE(saved.written);
        EXPECT_NE(saved.messages.find(path + ": cannot save the ranking (File too large)"), std::string::npos)
            << saved.messages;
        EXPECT_EQ(lineCount(saved.messages), 1u) << saved.messages;
        EXPECT_EQ(readWholeFile(path), before);
        EXPECT_FALSE(fileExists(path + ".tmp"));
        EXPECT_FALSE(fileExists(path + ".bad"));
    }

    const Saved saved = saveDefaults(data.file("no-folder/score.hsc"));
    EXPECT_FALSE(saved.written);
    EXPECT_NE(saved.messages.find("no-folder/score.hsc: cannot save the ranking (No such file or directory)"),
              std::string::npos)
        << saved.messages;
}

// Saving through a link writes the file it points to, as an editor does; the link stays.
TEST(Ranking, ALinkStaysALinkAndItsTargetGetsTheScores)
{
    ScratchFolder data;
    data.write("kept/real.hsc", "1\n");
    const struct {
        const char *name;
        std::string linkTo;
        std::string target;
    } cases[] = {
        {"relative", "kept/real.hsc", data.file("kept/real.hsc")},
        {"absolute", data.file("kept/real.hsc"), data.file("kept/real.hsc")},
        {"link to a link", "chain.hsc", data.file("kept/real.hsc")},
        {"link to a file not there yet", "kept/new.hsc", data.file("kept/new.hsc")},
    };
    fs::create_symlink("kept/real.hsc", data.file("chain.hsc"));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string link = data.file("score.hsc");
        fs::remove(link);
        fs::create_symlink(c.linkTo, link);
        const Saved saved = saveDefaults(link);
        EXPECT_TRUE(saved.written) << saved.messages;
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_EQ(fs::read_symlink(link), c.linkTo);
        EXPECT_EQ(readWholeFile(c.target), FileDefaultsText);
        EXPECT_FALSE(fileExists(link + ".tmp"));
        EXPECT_FALSE(fileExists(c.target + ".tmp"));
    }
}

// Nothing is written through a link to a pipe or a device: the link is replaced by the scores.
TEST(Ranking, ALinkToSomethingNotAFileIsReplaced)
{
    ScratchFolder data;
    const std::string pipe = data.file("pipe");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const std::string path = data.file("score.hsc");
    fs::create_symlink(pipe, path);
    const Saved saved = saveDefaults(path, {pipe});
    ASSERT_TRUE(saved.finished);
    EXPECT_TRUE(saved.written) << saved.messages;
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(path)));
    EXPECT_EQ(readWholeFile(path), FileDefaultsText);
    EXPECT_TRUE(fs::is_fifo(pipe));
}

// A file whose lines were not all taken as scores is kept once, as score.hsc.bad, before it is
// rewritten; a file read cleanly is rewritten without a copy.
TEST(Ranking, ADamagedFileIsKeptOnceAsBad)
{
    const struct {
        const char *name;
        std::string before;
        int badLine; // 0: read cleanly
    } cases[] = {
        {"ten scores", FileDefaultsText, 0},
        {"ten scores LF", "10\n9\n8\n7\n6\n5\n4\n3\n2\n1\n", 0},
        {"three scores", "300\n200\n100\n", 0},
        {"empty", "", 0},
        {"signs and blanks", " -5 \n+7\n", 0},
        {"no number at all", "abc\n", 1},
        {"a word among scores", "10\n9\nnine\n7\n", 3},
        {"text after a number", "10\n9 points\n", 2},
        {"a blank line", "10\n\n8\n", 2},
        {"out of range", "99999999999\n", 1},
        {"a NUL byte",
         std::string("10\n9\0"
                     "5\n",
                     6),
         2},
        {"more than ten lines", "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n", 11},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder data;
        const std::string path = data.write("score.hsc", c.before);
        Saved saved = saveDefaults(path);
        EXPECT_TRUE(saved.written);
        EXPECT_EQ(readWholeFile(path), FileDefaultsText);
        if (c.badLine == 0) {
            EXPECT_EQ(saved.messages, "");
            EXPECT_FALSE(fileExists(path + ".bad"));
            continue;
        }
        EXPECT_EQ(readWholeFile(path + ".bad"), c.before);
        EXPECT_NE(saved.messages.find(path + ": line " + std::to_string(c.badLine)), std::string::npos)
            << saved.messages;
        EXPECT_NE(saved.messages.find("kept as " + path + ".bad"), std::string::npos) << saved.messages;
        EXPECT_EQ(lineCount(saved.messages), 1u) << saved.messages;
        // The next save finds a clean file: the copy stays as it was and nothing is said.
        saved = saveDefaults(path);
        EXPECT_TRUE(saved.written);
        EXPECT_EQ(saved.messages, "");
        EXPECT_EQ(readWholeFile(path + ".bad"), c.before);
    }
}

// A pipe or a file too large in the score file's place is kept aside too, without being read.
TEST(Ranking, AnUnreadableFileIsKeptAsBadAndReplaced)
{
    ScratchFolder data;
    const std::string path = data.file("score.hsc");
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    Saved saved = saveDefaults(path, {path});
    ASSERT_TRUE(saved.finished);
    EXPECT_TRUE(saved.written);
    EXPECT_EQ(readWholeFile(path), FileDefaultsText);
    EXPECT_TRUE(fs::is_fifo(path + ".bad"));
    EXPECT_NE(saved.messages.find("not a regular file (a named pipe); kept as " + path + ".bad"), std::string::npos)
        << saved.messages;

    data.write("score.hsc", "1\n");
    fs::resize_file(path, uintmax_t(4) << 30);
    saved = saveDefaults(path);
    EXPECT_TRUE(saved.written);
    EXPECT_EQ(readWholeFile(path), FileDefaultsText);
    EXPECT_EQ(fs::file_size(path + ".bad"), uintmax_t(4) << 30);
    EXPECT_NE(saved.messages.find("4294967296 bytes"), std::string::npos) << saved.messages;
}

// What a crash left under the temporary name is removed before the save writes there: it is never
// written through, nor waited on.
TEST(Ranking, AStaleTemporaryFileIsRemovedFirst)
{
    ScratchFolder data;
    const std::string path = data.write("score.hsc", FileDefaultsText);
    const std::string temporary = path + ".tmp";
    const std::string other = data.write("other.txt", "not a score file\n");
    const struct {
        const char *name;
        std::function<void()> leave;
    } cases[] = {
        {"half-written file", [&] { writeWholeFile(temporary, "17500"); }},
        {"link to another file", [&] { fs::create_symlink(other, temporary); }},
        {"pipe", [&] { ASSERT_EQ(mkfifo(temporary.c_str(), 0600), 0); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        c.leave();
        const Saved saved = saveDefaults(path, {temporary});
        ASSERT_TRUE(saved.finished);
        EXPECT_TRUE(saved.written) << saved.messages;
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(path)));
        EXPECT_EQ(readWholeFile(path), FileDefaultsText);
        EXPECT_FALSE(fs::exists(fs::symlink_status(temporary)));
        EXPECT_EQ(readWholeFile(other), "not a score file\n");
    }
}
