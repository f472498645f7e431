#include <gtest/gtest.h>

#include "bench/MapWatcher.h"
#include "bench/PixelProbe.h"
#include "support/XTestSupport.h"

namespace {

// Another client's top-level window with the class given, as a program under test makes it.
Window MakeWindow(Display* display, const char* className) {
    const Window window =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 120, 80, 1, 0, 0);
    XClassHint hint{};
    std::string name = className;
    hint.res_name = name.data();
    hint.res_class = name.data();
    XSetClassHint(display, window, &hint);
    return window;
}

} // namespace

TEST(MapWatcher, SeesTheWindowOfItsClassBecomeViewable) {
    Display* watching = xtest::OpenDisplay();
    Display* program = xtest::OpenDisplay();
    ASSERT_NE(watching, nullptr);
    ASSERT_NE(program, nullptr);
    InstallErrorCounter();
    {
        MapWatcher watcher(watching);
        const Window other = MakeWindow(program, "BenchOther");
        const Window wanted = MakeWindow(program, "BenchWanted");
        XMapWindow(program, other);
        const auto before = MapWatcher::Clock::now();
        XMapWindow(program, wanted);
        XFlush(program);
        ASSERT_TRUE(watcher.WaitForViewable("BenchWanted", 5000));
        EXPECT_EQ(watcher.GetWindow(), wanted);
        EXPECT_GE(watcher.ViewableAt(), before);
        EXPECT_LE(watcher.ViewableAt(), MapWatcher::Clock::now());
        EXPECT_TRUE(xtest::IsOnScreen(program, wanted));
    }
    XCloseDisplay(program);
    XCloseDisplay(watching);
}

TEST(MapWatcher, NoWindowOfTheClassTimesOut) {
    Display* watching = xtest::OpenDisplay();
    Display* program = xtest::OpenDisplay();
    ASSERT_NE(watching, nullptr);
    ASSERT_NE(program, nullptr);
    InstallErrorCounter();
    {
        MapWatcher watcher(watching);
        XMapWindow(program, MakeWindow(program, "BenchOther"));
        XFlush(program);
        EXPECT_FALSE(watcher.WaitForViewable("BenchWanted", 500));
        EXPECT_EQ(watcher.GetWindow(), 0u);
    }
    XCloseDisplay(program);
    XCloseDisplay(watching);
}
