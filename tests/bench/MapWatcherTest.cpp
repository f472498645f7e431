#include <gtest/gtest.h>

#include "bench/MapWatcher.h"
#include "support/DisplayTest.h"

using MapWatcherTest = DisplayTest;

TEST_F(MapWatcherTest, SeesOnlyAWindowOfItsClassBecomeViewable) {
    // Top-level windows of another client, mapped as a program under test maps its own.
    Display* program = screen->GetDisplay();
    const auto mapWindowOfClass = [program](std::string name) {
        const Window window =
            XCreateSimpleWindow(program, DefaultRootWindow(program), 0, 0, 120, 80, 1, 0, 0);
        XClassHint hint{name.data(), name.data()};
        XSetClassHint(program, window, &hint);
        XMapWindow(program, window);
        XFlush(program);
        return window;
    };
    {
        // It hears of the other window, and ends having found none.
        MapWatcher other(observer);
        mapWindowOfClass("BenchOther");
        EXPECT_FALSE(other.WaitForViewable("BenchWanted", 500));
        EXPECT_EQ(other.GetWindow(), 0u);
    }
    MapWatcher watcher(observer);
    const auto before = MapWatcher::Clock::now();
    const Window wanted = mapWindowOfClass("BenchWanted");
    ASSERT_TRUE(watcher.WaitForViewable("BenchWanted", 5000));
    EXPECT_EQ(watcher.GetWindow(), wanted);
    EXPECT_TRUE(watcher.ViewableAt() >= before && watcher.ViewableAt() <= MapWatcher::Clock::now());
    EXPECT_TRUE(windows.IsShown(wanted));
}
