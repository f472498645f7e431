#include <csignal>
#include <gtest/gtest.h>
#include <sys/time.h>

#include "app/EventLoop.h"
#include "gui/controls/Timer.h"
#include "support/TempFolder.h"
#include "support/TestElements.h"

namespace {

itimerval Armed() {
    itimerval value{};
    getitimer(ITIMER_REAL, &value);
    return value;
}

int ticks = 0;
void CountTick(Timer*) { ++ticks; }

} // namespace

TEST(Timer, IntervalsArmSecondsAndMicroseconds) {
    RecordingForm form;
    struct Case {
        uint32_t interval;
        long seconds;
        long microseconds;
    };
    for (const Case& c : {Case{1000, 1, 0}, Case{1500, 1, 500000}, Case{999, 0, 999000}}) {
        Timer timer(&form, c.interval);
        timer.Start();
        ASSERT_TRUE(timer.IsRunning());
        const itimerval value = Armed();
        EXPECT_EQ(value.it_interval.tv_sec, c.seconds) << c.interval;
        EXPECT_EQ(value.it_interval.tv_usec, c.microseconds) << c.interval;
        timer.Stop();
        EXPECT_FALSE(timer.IsRunning());
        EXPECT_EQ(Armed().it_interval.tv_sec, 0);
        EXPECT_EQ(Armed().it_value.tv_usec, 0);
    }
}

TEST(Timer, DestroyingARunningTimerDisarmsTheIntervalTimer) {
    RecordingForm form;
    {
        Timer timer(&form, 1000);
        timer.Start();
        EXPECT_EQ(Armed().it_interval.tv_sec, 1);
        EXPECT_EQ(Application::timers.size(), 1u);
    }
    EXPECT_EQ(Armed().it_interval.tv_sec, 0);
    EXPECT_EQ(Armed().it_value.tv_sec, 0);
    EXPECT_TRUE(Application::timers.empty());
    EXPECT_TRUE(Application::allElements.size() == 1u);
}

TEST(Timer, StartOnARunningTimerDoesNotRearm) {
    RecordingForm form;
    Timer timer(&form, 2000);
    timer.Start();
    timer.SetInterval(3000);
    EXPECT_EQ(Armed().it_interval.tv_sec, 3) << "SetInterval re-arms a running timer";
    Timer other(&form, 1000);
    other.Start();
    EXPECT_EQ(Armed().it_interval.tv_sec, 1) << "the timer armed last sets the period";
    other.Start();
    EXPECT_EQ(Armed().it_interval.tv_sec, 1);
    other.Stop();
    EXPECT_TRUE(timer.IsRunning()) << "the other timer keeps running, without ticks";
    EXPECT_EQ(Armed().it_interval.tv_sec, 0);
}

TEST(Timer, SignalTicksRunningTimersWithHandlersOnly) {
    RecordingForm form;
    Timer first(&form, 1000);
    Timer silent(&form, 1000);
    Timer stopped(&form, 1000);
    first.SetOnTick(CountTick);
    stopped.SetOnTick(CountTick);
    first.Start();
    silent.Start();
    ticks = 0;
    TimerSignal();
    EXPECT_EQ(ticks, 1);
    first.Stop();
}

TEST(Timer, AnExpiryIsRecordedByTheSignalAndTakenOnce) {
    RecordingForm form;
    Timer timer(&form, 1000);
    timer.Start();
    EXPECT_FALSE(TakeTimerExpiry());
    raise(SIGALRM);
    EXPECT_TRUE(TakeTimerExpiry());
    EXPECT_FALSE(TakeTimerExpiry());
    timer.Stop();
}

TEST(Timer, IdentifierIsDrawnWithoutTouchingTheTag) {
    RecordingForm form;
    Timer timer(&form, 1000);
    timer.GetTagRef() = 77;
    timer.Create();
    EXPECT_GT(timer.GetId(), 0u);
    EXPECT_EQ(timer.GetTagRef(), 77u);
    EXPECT_EQ(timer.GetText(), "timer");
    EXPECT_FALSE(timer.IsTabStop());
}
