#pragma once

#include "bench/BenchSession.h"
#include "bench/LaunchBench.h"

// The long game: plays rounds against the real game with real clicks, timing each click on a
// choice to the result picture, taking the CPU of the game and of the X server in fixed
// spans, and counting the game's descriptors and children at the end.
class RoundBench {
  public:
    explicit RoundBench(BenchSession& session);

    void Run();

  private:
    bool PressStart(LaunchBench::Launch& launch);
    bool PlayOneRound(LaunchBench::Launch& launch, int hand);
    // Closes the running game's CPU span when it is due.
    void TickCpuWindow(pid_t pid, bool last);

    BenchSession& session;
    TimedInput& input;
    RoundFigures& rounds;

    // The running game's current CPU span.
    TimedInput::Clock::time_point windowStart;
    long long windowTicks = -1;
    long long windowServerTicks = -1;
    long long windowSwitches = -1;
};
