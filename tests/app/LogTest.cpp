#include <gtest/gtest.h>

#include "app/Log.h"
#include "support/TempDir.h"
#include "util/FileUtils.h"
#include "util/TextFile.h"

TEST(Log, LinesGoToStandardOutputAndTheFileInOrder) {
    TempDir dir;
    EXPECT_FALSE(FileExists("log.txt"));
    testing::internal::CaptureStdout();
    Log("a");
    LogString("b");
    Log("");
    Log("two\nlines");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "a\nb\n\ntwo\nlines\n");
    EXPECT_EQ(TextFile("log.txt").ReadLines(),
              (std::vector<std::string>{"a", "b", "", "two", "lines"}));
}

TEST(Log, UnwritableFolderStillReachesStandardOutput) {
    TempDir dir;
    // A folder named log.txt cannot be opened as a file.
    ASSERT_TRUE(MakeDirIfMissing("log.txt"));
    testing::internal::CaptureStdout();
    Log("still here");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "still here\n");
}
