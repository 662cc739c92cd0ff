#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/regular_file.h"
#include "support/no_wait.h"
#include "support/scratch_folder.h"

namespace {

struct OpenCase {
    const char *name;
    std::string path;
    FileStatus status;
    const char *reason; // a part of the reason, or null when opened
};

TEST(RegularFile, RefusesWhatIsNotARegularFileWithinTheLimit)
{
    ScratchFolder folder;
    const std::string small = folder.write("small.txt", "hello");
    const std::string exact = folder.write("exact.txt", std::string(1024, 'x'));
    const std::string over = folder.write("over.txt", std::string(1025, 'x'));
    const std::string pipe = folder.file("pipe");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    std::filesystem::create_directory(folder.file("folder"));
    std::filesystem::create_symlink("/dev/zero", folder.file("zero"));
    std::filesystem::create_symlink(folder.file("gone"), folder.file("dangling"));
    const OpenCase cases[] = {
        {"a small file", small, FileStatus::Opened, nullptr},
        {"exactly the limit", exact, FileStatus::Opened, nullptr},
        {"one byte over", over, FileStatus::Refused, "1025 bytes, larger than 1 KB"},
        {"a named pipe with no writer", pipe, FileStatus::Refused, "not a regular file (a named pipe)"},
        {"a folder", folder.file("folder"), FileStatus::Refused, "not a regular file (a folder)"},
        {"a link to a device", folder.file("zero"), FileStatus::Refused, "not a regular file (a device)"},
        {"nothing there", folder.file("none"), FileStatus::Missing, "No such file"},
        {"a link to nothing", folder.file("dangling"), FileStatus::Missing, "No such file"},
        {"a file where a folder should be", small + "/x", FileStatus::Missing, "Not a directory"},
    };
    for (const OpenCase &c : cases) {
        SCOPED_TRACE(c.name);
        RegularFile file;
        ASSERT_TRUE(finishesWithoutWaiting([&] { file = openRegularFile(c.path, 1024); }, {pipe}));
        EXPECT_EQ(file.status, c.status);
        if (c.reason != nullptr) {
            EXPECT_NE(file.reason.find(c.reason), std::string::npos) << file.reason;
            EXPECT_EQ(file.fd, -1);
            continue;
        }
        // What the reader gets is an ordinary descriptor: it waits for data and is not inherited.
        ASSERT_GE(file.fd, 0);
        EXPECT_EQ(fcntl(file.fd, F_GETFL) & O_NONBLOCK, 0);
        EXPECT_NE(fcntl(file.fd, F_GETFD) & FD_CLOEXEC, 0);
        closeRegularFile(file);
        EXPECT_EQ(file.fd, -1);
    }
}

TEST(RegularFile, ReadsTheWholeFileOrNothing)
{
    ScratchFolder folder;
    std::string content(200000, '\0');
    for (size_t i = 0; i < content.size(); i++)
        content[i] = char(i * 31 + i / 7);
    const std::string path = folder.write("data.bin", content);
    std::string bytes = "old", reason;
    EXPECT_EQ(readRegularFile(path, content.size(), bytes, reason), FileStatus::Opened);
    EXPECT_EQ(bytes, content);
    EXPECT_EQ(readRegularFile(path, content.size() - 1, bytes, reason), FileStatus::Refused);
    EXPECT_EQ(bytes, "");
    EXPECT_EQ(reason, "200000 bytes, larger than 199999 bytes");
    EXPECT_EQ(readRegularFile(folder.file("none"), 10, bytes, reason), FileStatus::Missing);
    EXPECT_EQ(bytes, "");
}

} // namespace
