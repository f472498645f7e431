#include <csignal>
#include <gtest/gtest.h>
#include <sys/time.h>

#include "app/Application.h"
#include "app/EventLoop.h"
#include "gui/controls/Timer.h"
#include "support/TestElements.h"

namespace {

// The period of the process interval timer in milliseconds, and whether it is off altogether
// (no period and no expiry to come).
long ArmedPeriod() {
    itimerval value{};
    getitimer(ITIMER_REAL, &value);
    return value.it_interval.tv_sec * 1000 + value.it_interval.tv_usec / 1000;
}
bool Disarmed() {
    itimerval value{};
    getitimer(ITIMER_REAL, &value);
    return ArmedPeriod() == 0 && value.it_value.tv_sec == 0 && value.it_value.tv_usec == 0;
}

int ticks = 0;
void CountTick(Timer*) {
    ++ticks;
}

} // namespace

// All timers share the one interval timer: the one armed last sets the period, and stopping
// any of them stops the ticks of all.
TEST(Timer, StartArmsTheSharedIntervalAndStopOrDestructionDisarmsIt) {
    RecordingForm form;
    for (uint32_t interval : {1000u, 1500u, 999u}) {
        SCOPED_TRACE(interval);
        Timer timer(&form, interval);
        timer.Start();
        EXPECT_TRUE(timer.IsRunning());
        EXPECT_EQ(ArmedPeriod(), interval);
        timer.Stop();
        EXPECT_FALSE(timer.IsRunning());
        EXPECT_TRUE(Disarmed());
    }
    Timer timer(&form, 2000);
    timer.Start();
    timer.SetInterval(3000);
    EXPECT_EQ(ArmedPeriod(), 3000) << "SetInterval re-arms a running timer";
    {
        Timer other(&form, 1000);
        other.Start();
        EXPECT_EQ(ArmedPeriod(), 1000);
        timer.Start();
        EXPECT_EQ(ArmedPeriod(), 1000) << "starting a running timer changes nothing";
    }
    EXPECT_TRUE(Disarmed()) << "a running timer disarms when it goes";
    EXPECT_TRUE(timer.IsRunning());
    EXPECT_EQ(Application::timers.size(), 1u);
}

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
    EXPECT_TRUE(TakeTimerExpiry());
    EXPECT_FALSE(TakeTimerExpiry());
    TimerSignal();
    EXPECT_EQ(ticks, 1);
    first.Stop();
}
