#include <gtest/gtest.h>

#include "support/TempFolder.h"
#include "util/FileUtils.h"
#include "util/Log.h"
#include "util/TextFile.h"

TEST(Log, LinesGoToStandardOutputAndTheFileInOrderAndToStandardOutputAlone) {
    TempFolder dir{true};
    testing::internal::CaptureStdout();
    Log("a");
    LogString("b");
    Log("two\nlines");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "a\nb\ntwo\nlines\n");
    EXPECT_EQ(TextFile("log.txt").ReadLines(),
              (std::vector<std::string>{"a", "b", "two", "lines"}));
    // A folder named log.txt cannot be opened as a file.
    ASSERT_TRUE(RemoveFile("log.txt") && MakeDirIfMissing("log.txt"));
    testing::internal::CaptureStdout();
    Log("still here");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "still here\n");
}
