#include "util/BinaryFile.h"

#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "support/TempFolder.h"

namespace {

// The descriptor this process holds on `path`, or -1; found through /proc so that the test
// sees what a forked child would inherit.
int FindDescriptor(const std::string& path) {
    DIR* dir = opendir("/proc/self/fd");
    if (dir == nullptr) {
        return -1;
    }
    int found = -1;
    while (const dirent* entry = readdir(dir)) {
        char target[PATH_MAX];
        const std::string link = std::string("/proc/self/fd/") + entry->d_name;
        const ssize_t length = readlink(link.c_str(), target, sizeof target - 1);
        if (length > 0 && std::string(target, static_cast<size_t>(length)) == path) {
            found = std::atoi(entry->d_name);
        }
    }
    closedir(dir);
    return found;
}

} // namespace

TEST(BinaryFile, WritesAndReadsBytesExactly) {
    TempFolder folder;
    const std::string path = folder.File("bytes.bin");
    const std::string content("\x00\x01\xFF\n\r\x7F", 6);
    {
        BinaryFile output(path, BinaryFile::Mode::Write);
        EXPECT_TRUE(output.IsOpen());
        EXPECT_TRUE(output.Write(content.data(), content.size()));
        EXPECT_TRUE(output.Close());
        EXPECT_FALSE(output.IsOpen());
        EXPECT_FALSE(output.Write("x", 1));
    }
    EXPECT_EQ(ReadRawFile(path), content);
    BinaryFile input(path, BinaryFile::Mode::Read);
    char buffer[16] = {};
    EXPECT_EQ(input.Read(buffer, sizeof buffer), content.size());
    EXPECT_EQ(std::string(buffer, content.size()), content);
    EXPECT_EQ(input.Read(buffer, sizeof buffer), 0u);
    EXPECT_FALSE(input.HasError());
}

TEST(BinaryFile, MissingFileIsFlaggedAndReadsNothing) {
    TempFolder folder;
    BinaryFile input(folder.File("missing"), BinaryFile::Mode::Read);
    EXPECT_FALSE(input.IsOpen());
    EXPECT_TRUE(input.HasOpenFailed());
    char buffer[4];
    EXPECT_EQ(input.Read(buffer, sizeof buffer), 0u);
    EXPECT_FALSE(input.Close());
}

TEST(BinaryFile, DescriptorIsCloseOnExecAndClosedByTheDestructor) {
    TempFolder folder;
    const std::string path = folder.File("held.bin");
    {
        BinaryFile output(path, BinaryFile::Mode::Write);
        ASSERT_TRUE(output.IsOpen());
        const int fd = FindDescriptor(path);
        ASSERT_GE(fd, 0);
        EXPECT_NE(fcntl(fd, F_GETFD) & FD_CLOEXEC, 0);
        output.Write("abc", 3);
    }
    EXPECT_EQ(FindDescriptor(path), -1);
    // Closing flushed the buffered bytes.
    EXPECT_EQ(ReadRawFile(path), "abc");
}

TEST(BinaryFile, FailedFlushOnCloseIsReported) {
    BinaryFile output("/dev/full", BinaryFile::Mode::Write);
    ASSERT_TRUE(output.IsOpen());
    output.Write("abc", 3); // buffered, so the failure shows when it is flushed
    EXPECT_FALSE(output.Close());
    EXPECT_TRUE(output.HasError());
}
