#include "util/BinaryFile.h"

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

#include "support/TempFolder.h"

TEST(BinaryFile, WritesAndReadsBytesExactlyAndReportsWhatFailed) {
    TempFolder folder;
    const std::string path = folder.File("bytes.bin");
    const std::string content("\x00\x01\xFF\n\r\x7F", 6);
    BinaryFile output(path, BinaryFile::Mode::Write);
    EXPECT_TRUE(output.Write(content.data(), content.size()));
    EXPECT_TRUE(output.Close());
    EXPECT_FALSE(output.Write("x", 1));
    EXPECT_EQ(ReadWholeFile(path), content);
    BinaryFile input(path, BinaryFile::Mode::Read), missing(path + "x", BinaryFile::Mode::Read);
    char buffer[16] = {};
    EXPECT_EQ(input.Read(buffer, sizeof buffer), content.size());
    EXPECT_EQ(std::string(buffer, content.size()), content);
    EXPECT_EQ(input.Read(buffer, sizeof buffer) + missing.Read(buffer, sizeof buffer), 0u);
    EXPECT_TRUE(input.Close());
    EXPECT_TRUE(missing.HasOpenFailed());
    EXPECT_FALSE(missing.IsOpen() || missing.Close());
    // Bytes are buffered, so a failure to write them shows when they are flushed.
    BinaryFile full("/dev/full", BinaryFile::Mode::Write);
    EXPECT_TRUE(full.Write("abc", 3));
    EXPECT_FALSE(full.Close());
    EXPECT_TRUE(full.HasError());
}

TEST(BinaryFile, DescriptorIsCloseOnExecAndClosedByTheDestructor) {
    TempFolder folder;
    const std::string path = folder.File("held.bin");
    // A new descriptor always takes the lowest free number: the one just handed back.
    const int lowest = open("/dev/null", O_RDONLY);
    ASSERT_EQ(close(lowest), 0);
    {
        BinaryFile output(path, BinaryFile::Mode::Write);
        ASSERT_EQ(std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(lowest)), path);
        EXPECT_NE(fcntl(lowest, F_GETFD) & FD_CLOEXEC, 0);
        output.Write("abc", 3);
    }
    EXPECT_EQ(fcntl(lowest, F_GETFD), -1);
    // The destructor's close flushed the buffered bytes.
    EXPECT_EQ(ReadWholeFile(path), "abc");
}
