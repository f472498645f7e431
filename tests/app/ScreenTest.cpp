#include <cstdlib>
#include <gtest/gtest.h>

#include "app/Screen.h"
#include "support/PrivateXvfb.h"
#include "support/TempFolder.h"
#include "util/FileUtils.h"
#include "util/TextFile.h"

namespace {

std::vector<std::string> LogLines() {
    return FileExists("log.txt") ? TextFile("log.txt").ReadLines() : std::vector<std::string>{};
}

} // namespace

TEST(Screen, OpensA24BitDisplayWithoutComplaint) {
    TempFolder dir{true};
    EXPECT_EQ(GetCurrentScreenWidth(), 0);
    EXPECT_EQ(GetCurrentScreenHeight(), 0);
    {
        Screen screen("title");
        ASSERT_NE(screen.GetDisplay(), nullptr);
        EXPECT_EQ(screen.HasFailed(), 0);
        EXPECT_EQ(screen.GetDepth(), 24);
        EXPECT_NE(screen.GetVisualInfo(), nullptr);
        EXPECT_EQ(GetCurrentScreenWidth(), screen.GetWidth());
        EXPECT_EQ(GetCurrentScreenHeight(), screen.GetHeight());
        EXPECT_GT(screen.GetWidth(), 0);
        EXPECT_TRUE(LogLines().empty());

        EXPECT_TRUE(screen.Close());
        EXPECT_FALSE(screen.Close());
        EXPECT_EQ(screen.GetDisplay(), nullptr);
    }
    EXPECT_TRUE(LogLines().empty());
}

TEST(Screen, A16BitDisplayIsReportedOnceAndStartUpGoesOn) {
    TempFolder dir{true};
    PrivateXvfb server(16);
    ASSERT_FALSE(server.name.empty()) << "could not start a 16-bit Xvfb";
    const std::string previous = getenv("DISPLAY") != nullptr ? getenv("DISPLAY") : "";
    setenv("DISPLAY", server.name.c_str(), 1);
    {
        Screen screen("title");
        EXPECT_NE(screen.GetDisplay(), nullptr);
        EXPECT_EQ(screen.GetDepth(), 16);
        EXPECT_TRUE(screen.Close());
    }
    setenv("DISPLAY", previous.c_str(), 1);
    EXPECT_EQ(LogLines(), std::vector<std::string>{"This app requires 24-bit depth."});
}

TEST(Screen, MissingDisplayIsLoggedAndLeavesAClosedScreen) {
    TempFolder dir{true};
    const std::string previous = getenv("DISPLAY") != nullptr ? getenv("DISPLAY") : "";
    setenv("DISPLAY", ":9999", 1);
    {
        Screen screen("title");
        EXPECT_EQ(screen.HasFailed(), 1);
        EXPECT_EQ(screen.GetDisplay(), nullptr);
        EXPECT_FALSE(screen.Close());
    }
    setenv("DISPLAY", previous.c_str(), 1);
    EXPECT_EQ(LogLines(), std::vector<std::string>{"XOpenDisplay(0) failed."});
}
