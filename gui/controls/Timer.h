#pragma once

#include <cstdint>

#include "gui/core/Child.h"

class Timer;

using TickHook = void (*)(Timer* timer);

// An invisible control that calls its tick handler every interval while it runs. All timers
// share the process's one ITIMER_REAL interval timer: they tick together at the period of the
// timer armed last, and stopping any of them stops the ticks of all. The SIGALRM handler only
// records the expiry; the event loop runs the ticks on its own thread.
class Timer : public Child {
  public:
    Timer(GUIElement* parent, uint32_t interval);
    ~Timer() override;

    void Create() override;

    void Start();
    void Stop();
    void SetInterval(uint32_t milliseconds);
    uint32_t GetInterval() const { return interval; }
    bool IsRunning() const { return running; }
    void SetOnTick(TickHook hook) { onTick = hook; }
    void Fire();

  private:
    bool running = false;
    uint32_t interval;
    TickHook onTick = nullptr;
};

// One expiry of the process interval timer: ticks every running timer, in registration order.
void TimerSignal();
