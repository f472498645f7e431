#include <gtest/gtest.h>

#include "util/Log.h"
#include "support/TempFolder.h"
#include "util/FileUtils.h"
#include "util/TextFile.h"

TEST(Log, LinesGoToStandardOutputAndTheFileInOrder) {
    TempFolder dir{true};
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
    TempFolder dir{true};
    // A folder named log.txt cannot be opened as a file.
    ASSERT_TRUE(MakeDirIfMissing("log.txt"));
    testing::internal::CaptureStdout();
    Log("still here");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "still here\n");
}
