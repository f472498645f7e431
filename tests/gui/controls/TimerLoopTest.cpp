#include <chrono>
#include <gtest/gtest.h>

#include "app/Application.h"
#include "app/EventLoop.h"
#include "gui/controls/Timer.h"
#include "support/DisplayTest.h"
#include "support/TestElements.h"

namespace {

using Clock = std::chrono::steady_clock;

std::vector<Clock::time_point> tickTimes;
bool insideHandler = false;
bool nestedTick = false;
int slowClicks = 0;

void OnTick(Timer*) {
    if (insideHandler) {
        nestedTick = true;
    }
    tickTimes.push_back(Clock::now());
    if (tickTimes.size() == 4) {
        Application::quitRequested = true;
    }
}

// A slow event handler: ticks that fall due meanwhile must wait until it returns.
void SlowClick(GUIElement*, uint64_t, int64_t) {
    ++slowClicks;
    insideHandler = true;
    const auto until = Clock::now() + std::chrono::milliseconds(250);
    while (Clock::now() < until) {
    }
    insideHandler = false;
}

} // namespace

using TimerLoopTest = DisplayTest;

TEST_F(TimerLoopTest, RunningTimerTicksInsideTheLoopAboutOncePerInterval) {
    RecordingForm form;
    form.SetScreen(screen.get());
    form.SetOnMouseDown(SlowClick);
    form.Show();
    XSync(screen->GetDisplay(), False);
    Timer timer(&form, 100);
    timer.SetOnTick(OnTick);
    tickTimes.clear();

    // A click keeps the loop busy in a handler while ticks fall due.
    ASSERT_TRUE(windows.WaitUntilManaged(form.GetWindow(), 5000));
    input.Click(form.GetWindow(), 10, 10);

    const auto start = Clock::now();
    timer.Start();
    ::Run(&form);
    const auto elapsed = Clock::now() - start;

    ASSERT_EQ(tickTimes.size(), 4u);
    EXPECT_EQ(slowClicks, 1);
    EXPECT_FALSE(nestedTick) << "a tick never runs inside another handler";
    EXPECT_GE(elapsed, std::chrono::milliseconds(350));
    EXPECT_LE(elapsed, std::chrono::milliseconds(3000));
    EXPECT_TRUE(timer.IsRunning());
    timer.Stop();
}
