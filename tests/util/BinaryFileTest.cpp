#include "util/BinaryFile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/TempFolder.h"

TEST(BinaryFile, WritesAndReadsBytesExactly) {
    TempFolder folder;
    const std::string path = folder.File("bytes.bin");
    const std::string content("\x00\x01\xFF\n\r\x7F", 6);
    BinaryFile output(path, BinaryFile::Mode::Write);
    EXPECT_TRUE(output.Write(content.data(), content.size()));
    EXPECT_TRUE(output.Close());
    EXPECT_FALSE(output.Write("x", 1));
    EXPECT_EQ(ReadWholeFile(path), content);

    BinaryFile input(path, BinaryFile::Mode::Read);
    char buffer[16] = {};
    EXPECT_EQ(input.Read(buffer, sizeof buffer), content.size());
    EXPECT_EQ(std::string(buffer, content.size()), content);
    EXPECT_EQ(input.Read(buffer, sizeof buffer), 0u);
    EXPECT_TRUE(input.Close());
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
    // A new descriptor always takes the lowest free number: the one just handed back.
    const int lowest = open("/dev/null", O_RDONLY);
    ASSERT_EQ(close(lowest), 0);
    {
        BinaryFile output(path, BinaryFile::Mode::Write);
        struct stat held, named;
        ASSERT_EQ(fstat(lowest, &held), 0);
        ASSERT_EQ(stat(path.c_str(), &named), 0);
        ASSERT_EQ(held.st_ino, named.st_ino);
        EXPECT_NE(fcntl(lowest, F_GETFD) & FD_CLOEXEC, 0);
        output.Write("abc", 3);
    }
    EXPECT_EQ(fcntl(lowest, F_GETFD), -1);
    // The destructor's close flushed the buffered bytes.
    EXPECT_EQ(ReadWholeFile(path), "abc");
}

TEST(BinaryFile, FailedFlushOnCloseIsReported) {
    BinaryFile output("/dev/full", BinaryFile::Mode::Write);
    ASSERT_TRUE(output.IsOpen());
    output.Write("abc", 3); // buffered, so the failure shows when it is flushed
    EXPECT_FALSE(output.Close());
    EXPECT_TRUE(output.HasError());
}
