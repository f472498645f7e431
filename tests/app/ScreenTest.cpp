#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <tuple>

#include "app/Screen.h"
#include "support/PrivateXvfb.h"
#include "support/TempFolder.h"
#include "util/TextFile.h"

TEST(Screen, OpensA24BitDisplayWithoutComplaintAndKeepsItFromChildren) {
    TempFolder dir{true};
    {
        Screen screen("title");
        Display* display = screen.GetDisplay();
        ASSERT_NE(display, nullptr);
        EXPECT_EQ(
            std::make_tuple(screen.GetDepth(), GetCurrentScreenWidth(), GetCurrentScreenHeight()),
            std::make_tuple(24, DisplayWidth(display, DefaultScreen(display)),
                            DisplayHeight(display, DefaultScreen(display))));
        // Sound and link children must not hold the connection to the X server.
        EXPECT_NE(fcntl(ConnectionNumber(display), F_GETFD) & FD_CLOEXEC, 0);
        EXPECT_TRUE(screen.Close());
        EXPECT_FALSE(screen.Close() || screen.GetDisplay());
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
