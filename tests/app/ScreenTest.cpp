#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>

#include "app/Screen.h"
#include "support/PrivateXvfb.h"
#include "support/TempFolder.h"
#include "util/TextFile.h"

TEST(Screen, OpensA24BitDisplayWithoutComplaintAndKeepsItFromChildren) {
    TempFolder dir{true};
    EXPECT_EQ(GetCurrentScreenWidth(), 0);
    {
        Screen screen("title");
        ASSERT_NE(screen.GetDisplay(), nullptr);
        EXPECT_EQ(screen.HasFailed(), 0);
        EXPECT_EQ(screen.GetDepth(), 24);
        EXPECT_NE(screen.GetVisualInfo(), nullptr);
        EXPECT_GT(screen.GetWidth(), 0);
        EXPECT_EQ(GetCurrentScreenWidth(), screen.GetWidth());
        EXPECT_EQ(GetCurrentScreenHeight(), screen.GetHeight());
        // Sound and link children must not hold the connection to the X server.
        EXPECT_NE(fcntl(ConnectionNumber(screen.GetDisplay()), F_GETFD) & FD_CLOEXEC, 0);
        EXPECT_TRUE(screen.Close());
        EXPECT_FALSE(screen.Close());
        EXPECT_EQ(screen.GetDisplay(), nullptr);
    }
    EXPECT_TRUE(TextFile("log.txt").ReadLines().empty());
}

TEST(Screen, A16BitDisplayIsReportedOnceAndStartUpGoesOn) {
    TempFolder dir{true};
    PrivateXvfb server(16);
    ASSERT_FALSE(server.name.empty()) << "could not start a 16-bit Xvfb";
    const std::string previous = getenv("DISPLAY");
    setenv("DISPLAY", server.name.c_str(), 1);
    Screen screen("title");
    setenv("DISPLAY", previous.c_str(), 1);
    EXPECT_EQ(screen.GetDepth(), 16);
    EXPECT_TRUE(screen.Close());
    EXPECT_EQ(TextFile("log.txt").ReadLines(),
              std::vector<std::string>{"This app requires 24-bit depth."});
}
