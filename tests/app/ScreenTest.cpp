#include <fcntl.h>
#include <gtest/gtest.h>
#include <tuple>

#include "app/Screen.h"
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
    // A screen destroyed is current no more; the next one made takes its place.
    EXPECT_EQ(currentScreen, nullptr);
    Screen next("next");
    EXPECT_EQ(currentScreen, &next);
    EXPECT_TRUE(TextFile("log.txt").ReadLines().empty());
}
