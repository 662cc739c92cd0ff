#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "platform/ini.h"
#include "support/no_wait.h"
#include "support/scratch_folder.h"

namespace {

struct ReadCase {
    const char *name;
    const char *fileText;
    const char *section;
    const char *key;
    const char *expected;
};

TEST(Ini, ReadsLikePrivateProfiles)
{
    const ReadCase cases[] = {
        {"plain", "[a]\nk=v\n", "a", "k", "v"},
        {"case-blind names", "[Sec]\nKey=v\n", "sEC", "kEY", "v"},
        {"blanks trimmed", "  [ a ]  \n  k  =  some value  \n", "a", "k", "some value"},
        {"double quotes stripped", "[a]\nk=\" padded \"\n", "a", "k", " padded "},
        {"single quotes stripped", "[a]\nk='x'\n", "a", "k", "x"},
        {"unmatched quote kept", "[a]\nk=\"x\n", "a", "k", "\"x"},
        {"comment is no key", "[a]\n;k=commented\nk=live\n", "a", "k", "live"},
        {"first key wins", "[a]\nk=1\nk=2\n", "a", "k", "1"},
        {"key in another section", "[a]\nj=1\n[b]\nk=2\n", "a", "k", "default"},
        {"key before any section", "k=1\n[a]\n", "a", "k", "default"},
        {"missing section", "[b]\nk=1\n", "a", "k", "default"},
        {"value with equals sign", "[a]\nk=x=y\n", "a", "k", "x=y"},
        {"empty value", "[a]\nk=\n", "a", "k", ""},
        {"crlf", "[a]\r\nk=v\r\n", "a", "k", "v"},
        {"byte order mark", "\xEF\xBB\xBF[a]\nk=v\n", "a", "k", "v"},
        {"no final newline", "[a]\nk=v", "a", "k", "v"},
        {"binary junk", "\x01\x02[\x7f\n=\n[a\n", "a", "k", "default"},
    };
    for (const ReadCase &c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        writeWholeFile(folder.file("t.ini"), c.fileText);
        EXPECT_EQ(iniReadString(folder.file("t.ini"), c.section, c.key, "default"), c.expected);
    }
}

TEST(Ini, MissingFileReadsTheDefault)
{
    ScratchFolder folder;
    EXPECT_EQ(iniReadString(folder.file("none.ini"), "a", "k", "d"), "d");
}

struct WriteCase {
    const char *name;
    const char *before; // null: no file
    const char *after;
};

TEST(Ini, WritesOnlyTheOneKey)
{
    const WriteCase cases[] = {
        {"new file", nullptr, "[config]\nBufferLength=20\n"},
        {"replaces the value, keeps the rest", "; settings\n[config]\nOther=1\nbufferlength = 5\n[x]\ny=2\n",
         "; settings\n[config]\nOther=1\nBufferLength=20\n[x]\ny=2\n"},
        {"adds the key at the end of its section", "[config]\nOther=1\n\n[x]\ny=2\n",
         "[config]\nOther=1\nBufferLength=20\n\n[x]\ny=2\n"},
        {"adds the section at the end", "[x]\ny=2\n", "[x]\ny=2\n\n[config]\nBufferLength=20\n"},
        {"keeps windows line endings", "[config]\r\nOther=1\r\n", "[config]\r\nOther=1\r\nBufferLength=20\r\n"},
    };
    for (const WriteCase &c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        const std::string path = folder.file("conf.ini");
        if (c.before != nullptr)
            writeWholeFile(path, c.before);
        EXPECT_TRUE(iniWriteString(path, "config", "BufferLength", "20"));
        EXPECT_EQ(readWholeFile(path), c.after);
        EXPECT_EQ(iniReadString(path, "config", "BufferLength", "none"), "20");
        EXPECT_FALSE(fileExists(path + ".new"));
    }
}

TEST(Ini, FailedWriteReportsFalse)
{
    EXPECT_FALSE(iniWriteString("/nonexistent-folder/conf.ini", "config", "BufferLength", "20"));
}

TEST(Ini, FileThatCannotBeReadIsLeftAlone)
{
    ScratchFolder folder;
    const std::string link = folder.file("conf.ini");
    std::filesystem::create_symlink(folder.file("gone.ini"), link);
    EXPECT_FALSE(iniWriteString(link, "config", "BufferLength", "20"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_FALSE(fileExists(folder.file("gone.ini")));
    EXPECT_FALSE(fileExists(link + ".new"));
}

// Whatever the file held before, the key written reads back and every other key reads as it did.
TEST(Ini, WhatIsWrittenReadsBack)
{
    const char *const befores[] = {
        "\xEF\xBB\xBF[config]\nOther=1\n",
        "\xEF\xBB\xBF\xEF\xBB\xBF[config]\nOther=1\n",
        "\xEF\xBB\xBF\xEF\xBB\xBF[config]\nBufferLength=5\nOther=1\n",
        "\xEF\xBB\xBF\xEF\xBB\xBF\xEF\xBB\xBF[config]\r\nOther=1\r\n",
        "\xEF\xBB\xBF\xEF\xBB\xBF",
        "\xEF\xBB\xBF\n[config]\nOther=1\n",
        "[x]\nOther=2\n\xEF\xBB\xBF[config]\nOther=1\n",
    };
    for (const char *before : befores) {
        SCOPED_TRACE(testing::PrintToString(std::string(before)));
        ScratchFolder folder;
        const std::string path = folder.file("conf.ini");
        writeWholeFile(path, before);
        const std::string otherBefore = iniReadString(path, "config", "Other", "none");
        const std::string xBefore = iniReadString(path, "x", "Other", "none");
        ASSERT_TRUE(iniWriteString(path, "config", "BufferLength", "20"));
        EXPECT_EQ(iniReadString(path, "config", "BufferLength", "none"), "20") << readWholeFile(path);
        EXPECT_EQ(iniReadString(path, "config", "Other", "none"), otherBefore);
        EXPECT_EQ(iniReadString(path, "x", "Other", "none"), xBefore);
    }
}

TEST(Ini, PipesAndOversizedFilesAreNeitherWaitedOnNorRead)
{
    ScratchFolder folder;
    const std::string pipe = folder.file("pipe.ini");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    std::string value;
    bool written = true;
    EXPECT_TRUE(finishesWithoutWaiting([&] { value = iniReadString(pipe, "config", "BufferLength", "d"); }, {pipe}));
    EXPECT_EQ(value, "d");
    EXPECT_TRUE(
        finishesWithoutWaiting([&] { written = iniWriteString(pipe, "config", "BufferLength", "20"); }, {pipe}));
    EXPECT_FALSE(written);
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));

    // The key is at the top, where a reader that takes the whole file would find it.
    const std::string big = folder.write("big.ini", "[config]\nBufferLength=35\n;" + std::string(MaxIniBytes, 'x'));
    EXPECT_EQ(iniReadString(big, "config", "BufferLength", "d"), "d");
    const std::string fits = folder.write("fits.ini", "[config]\nBufferLength=35\n;" + std::string(1000, 'x'));
    EXPECT_EQ(iniReadString(fits, "config", "BufferLength", "d"), "35");

    // A pipe left where the new file is written first is not written into.
    const std::string path = folder.file("conf.ini");
    ASSERT_EQ(mkfifo((path + ".new").c_str(), 0600), 0);
    EXPECT_TRUE(finishesWithoutWaiting([&] { written = iniWriteString(path, "config", "BufferLength", "20"); },
                                       {path + ".new"}));
    EXPECT_TRUE(written);
    EXPECT_EQ(readWholeFile(path), "[config]\nBufferLength=20\n");
    EXPECT_FALSE(fileExists(path + ".new"));
}

} // namespace
