#pragma once

#include <memory>
#include <vector>

#include "app/XlibHeaders.h"
#include "bench/BenchSession.h"
#include "tools/harness/RunningProgram.h"

// Launches the game, the floor and the minimal client in turn and measures each launch the
// same way. A launch is timed from just before the fork: the window becomes viewable (seen
// from the server's events), the whole idle board is on the screen (polled), then the window
// is exposed, START is clicked, the floor's choice row is clicked, and the program sits idle
// for its CPU span before its memory and descriptors are read and it is closed as a user
// closes it.
class LaunchBench {
  public:
    // A window of the program is on the screen and the driver watches it.
    struct Launch {
        std::unique_ptr<RunningProgram> program;
        Window window = 0;
        TimedInput::Clock::time_point viewableAt;
        TimedInput::Clock::time_point boardAt;
    };

    explicit LaunchBench(BenchSession& session);

    // A warm-up launch of each program, then `launches` launches of each, alternating; the
    // first `runs` of them also take the idle span.
    void Run();

    // Starts the program and waits until its whole idle board is shown; false, with the
    // failure recorded, when it does not come.
    bool StartAndWaitForBoard(ProgramKind kind, Launch& launch);
    // Closes the program as a user does and waits until its window has gone.
    void Close(ProgramKind kind, Launch& launch);

  private:
    void MeasureLaunch(ProgramKind kind, bool record, bool idle);
    void MeasureExposes(ProgramKind kind, Launch& launch, std::vector<double>& samples);
    void MeasureCaptions(ProgramKind kind, Launch& launch, std::vector<double>& samples);
    void MeasureFloorClicks(Launch& launch, std::vector<double>& samples);
    void MeasureIdle(ProgramKind kind, Launch& launch, LaunchFigures& figures);
    bool WaitForWindowGone(Window window, int timeoutMs);

    BenchSession& session;
    TimedInput& input;
};
