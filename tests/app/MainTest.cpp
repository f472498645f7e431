#include <gtest/gtest.h>

#include "support/TempFolder.h"
#include "tools/harness/RunningProgram.h"
#include "util/TextFile.h"

TEST(Main, WithoutADisplayTheProgramSaysSoAndFails) {
    TempFolder dir{true};
    TextFile("log.txt").WriteLines({"stale line from an earlier run"});
    const ProgramResult result = RunProgram({BRISGOLA_BINARY}, {"DISPLAY"}, dir.Path());
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.output, "XOpenDisplay(0) failed.\n");
    EXPECT_EQ(TextFile("log.txt").ReadLines(), std::vector<std::string>{"XOpenDisplay(0) failed."});
}
