#include <gtest/gtest.h>

#include "bench/MapWatcher.h"
#include "support/DisplayTest.h"

namespace {

class MapWatcherTest : public DisplayTest {
  protected:
    // A top-level window of another client, mapped as a program under test maps its own.
    Window MapWindowOfClass(const char* className) {
        Display* program = screen->GetDisplay();
        const Window window =
            XCreateSimpleWindow(program, DefaultRootWindow(program), 0, 0, 120, 80, 1, 0, 0);
        std::string name = className;
        XClassHint hint{name.data(), name.data()};
        XSetClassHint(program, window, &hint);
        XMapWindow(program, window);
        XFlush(program);
        return window;
    }
};

} // namespace

TEST_F(MapWatcherTest, SeesOnlyAWindowOfItsClassBecomeViewable) {
    {
        // It hears of the other window, and ends having found none.
        MapWatcher watcher(observer);
        MapWindowOfClass("BenchOther");
        EXPECT_FALSE(watcher.WaitForViewable("BenchWanted", 500));
        EXPECT_EQ(watcher.GetWindow(), 0u);
    }
    MapWatcher watcher(observer);
    const auto before = MapWatcher::Clock::now();
    const Window wanted = MapWindowOfClass("BenchWanted");
    ASSERT_TRUE(watcher.WaitForViewable("BenchWanted", 5000));
    EXPECT_EQ(watcher.GetWindow(), wanted);
    EXPECT_GE(watcher.ViewableAt(), before);
    EXPECT_LE(watcher.ViewableAt(), MapWatcher::Clock::now());
    EXPECT_TRUE(windows.IsShown(wanted));
}
