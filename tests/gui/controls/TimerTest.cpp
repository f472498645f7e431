#include <csignal>
#include <gtest/gtest.h>
#include <sys/time.h>

#include "app/EventLoop.h"
#include "gui/controls/Timer.h"
#include "support/TestElements.h"

namespace {

// The process interval timer's period and time to the next expiry, in milliseconds.
std::pair<long, long> Armed() {
    itimerval value{};
    getitimer(ITIMER_REAL, &value);
    return {value.it_interval.tv_sec * 1000 + value.it_interval.tv_usec / 1000,
            value.it_value.tv_sec * 1000 + value.it_value.tv_usec / 1000};
}
const std::pair<long, long> kOff{0, 0};

int ticks = 0;
void CountTick(Timer*) {
    ++ticks;
}

} // namespace

// All timers share the one interval timer: the one armed last sets the period, and stopping
// any of them stops the ticks of all. 1500 ms needs both the seconds and the microseconds.
TEST(Timer, StartArmsTheSharedIntervalAndStopOrDestructionDisarmsIt) {
    RecordingForm form;
    Timer timer(&form, 1500);
    timer.Start();
    EXPECT_EQ(Armed().first, 1500);
    timer.SetInterval(3000);
    EXPECT_EQ(Armed().first, 3000) << "SetInterval re-arms a running timer";
    {
        Timer other(&form, 1000);
        other.Start();
        timer.Start();
        EXPECT_EQ(Armed().first, 1000) << "starting a running timer changes nothing";
        timer.Stop();
        EXPECT_EQ(Armed(), kOff);
        timer.Start();
    }
    EXPECT_EQ(Armed(), kOff) << "a running timer disarms when it goes";
}

// The signal handler only records the expiry; the loop then ticks every running timer that
// has a handler, outside any other handler.
TEST(Timer, AnExpiryIsTakenOnceAndTicksTheRunningTimersWithHandlers) {
    RecordingForm form;
    Timer first(&form, 1000);
    Timer silent(&form, 1000);
    Timer stopped(&form, 1000);
    first.SetOnTick(CountTick);
    stopped.SetOnTick(CountTick);
    first.Start();
    silent.Start();
    EXPECT_FALSE(TakeTimerExpiry());
    raise(SIGALRM);
    EXPECT_EQ(ticks, 0) << "no tick from inside the signal handler";
    EXPECT_TRUE(TakeTimerExpiry());
    EXPECT_FALSE(TakeTimerExpiry());
    TimerSignal();
    EXPECT_EQ(ticks, 1);
    first.Stop();
}
