#include "gui/controls/Timer.h"

#include <algorithm>
#include <csignal>
#include <sys/time.h>

#include "app/Application.h"
#include "app/EventLoop.h"
#include "util/Log.h"

namespace {

void OnAlarm(int) {
    RecordTimerExpiry();
}

bool InstallAlarmHandler() {
    struct sigaction action {};
    action.sa_handler = OnAlarm;
    sigemptyset(&action.sa_mask);
    // A tick that arrives while the program writes the log or forks a sound must not make
    // that call fail; only the loop's own wait is meant to be woken, by the pipe.
    action.sa_flags = SA_RESTART;
    return sigaction(SIGALRM, &action, nullptr) == 0;
}

void DisarmIntervalTimer() {
    itimerval off{};
    setitimer(ITIMER_REAL, &off, nullptr);
}

} // namespace

Timer::Timer(GUIElement* parentElement, uint32_t interval) : interval(interval) {
    parent = parentElement;
    kind = "timer";
    text = "timer";
    width = 0;
    height = 0;
    tabStop = false;
    Application::RegisterTimer(this);
}

Timer::~Timer() {
    if (running) {
        DisarmIntervalTimer();
        running = false;
    }
}

void Timer::Create() {
    if (created) {
        return;
    }
    AssignIdKeepingTag();
    created = true;
}

void Timer::Start() {
    if (running) {
        return;
    }
    Create();
    if (!PrepareTimerWakeup() || !InstallAlarmHandler()) {
        Log("Unable to catch SIGALRM");
        return;
    }
    SetTimerExpiryHandler(TimerSignal);
    itimerval period{};
    period.it_value.tv_sec = interval / 1000;
    period.it_value.tv_usec = static_cast<suseconds_t>((interval % 1000) * 1000);
    period.it_interval = period.it_value;
    if (setitimer(ITIMER_REAL, &period, nullptr) != 0) {
        Log("error calling setitimer()");
        return;
    }
    running = true;
}

void Timer::Stop() {
    if (!running) {
        return;
    }
    DisarmIntervalTimer();
    running = false;
}

void Timer::SetInterval(uint32_t milliseconds) {
    interval = milliseconds;
    if (running) {
        DisarmIntervalTimer();
        running = false;
        Start();
    }
}

void Timer::Fire() {
    if (running && onTick != nullptr) {
        onTick(this);
    }
}

void TimerSignal() {
    // A tick handler may create or destroy timers, so walk a copy of the list and skip the
    // ones that are gone meanwhile.
    const std::vector<GUIElement*> timers = Application::timers;
    for (GUIElement* element : timers) {
        const auto& live = Application::timers;
        if (std::find(live.begin(), live.end(), element) != live.end()) {
            static_cast<Timer*>(element)->Fire();
        }
    }
}
