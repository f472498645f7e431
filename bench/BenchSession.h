#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/XlibHeaders.h"
#include "bench/BenchFigures.h"
#include "bench/BenchOptions.h"
#include "bench/BoardSamples.h"
#include "bench/ResultTable.h"
#include "tools/driver/GameDriver.h"

class RunningProgram;

// One benchmark: launches the game, the floor and the minimal client in turn and measures each
// launch the same way, then plays the long game; BenchReport makes the table of what it measured.
//
// A launch is timed from just before the fork: the window becomes viewable (seen from the
// server's events), the whole idle board is on the screen (polled), then the window is
// exposed, START is clicked, the floor's choice row is clicked, and the program sits idle for
// its CPU span before its memory and descriptors are read and it is closed as a user closes
// it. The long game then plays rounds against the real game with real clicks, timing each
// click on a choice to the result picture, taking the CPU of the game and of the X server in
// fixed spans, and counting the game's descriptors and children at the end.
class BenchSession {
public:
    using Clock = std::chrono::steady_clock;

    explicit BenchSession(const BenchOptions& options);
    ~BenchSession();
    BenchSession(const BenchSession&) = delete;
    BenchSession& operator=(const BenchSession&) = delete;

    // Connects to the display and prepares the expected pixels; false with a message on
    // standard error when the benchmark cannot run at all.
    bool Open();
    // A warm-up launch of each program, then `launches` launches of each, alternating; the
    // first `runs` of them also take the idle span.
    void RunLaunches();
    // The long game.
    void RunRounds();
    // Keystrokes into the floor and into text boxes holding 10 and 1,500 characters; nothing
    // without a text-box program.
    void RunTyping();

    // The table of every figure measured.
    ResultTable MakeTable() const;
    // Whatever went wrong on the way; an empty list means every measurement completed.
    const std::vector<std::string>& Failures() const { return failures; }

private:
    enum ProgramKind { kGame = 0, kFloor = 1, kMinimal = 2, kProgramKinds = 3 };

    // A window of the program is on the screen and the driver watches it.
    struct Launch {
        std::unique_ptr<RunningProgram> program;
        Window window = 0;
        Clock::time_point viewableAt;
        Clock::time_point boardAt;
    };

    // Launching and closing
    bool StartAndWaitForBoard(ProgramKind kind, Launch& launch);
    void Close(ProgramKind kind, Launch& launch);
    void MeasureLaunch(ProgramKind kind, bool record, bool idle);

    // What the program shows once its idle board is complete.
    const SampleSet& IdleSamples(ProgramKind kind) const;

    // The measurements of one launch
    void MeasureExposes(ProgramKind kind, Launch& launch, std::vector<double>& samples);
    void MeasureCaptions(ProgramKind kind, Launch& launch, std::vector<double>& samples);
    void MeasureFloorClicks(Launch& launch, std::vector<double>& samples);
    void MeasureIdle(ProgramKind kind, Launch& launch, LaunchFigures& figures);

    // The long game
    bool PressStart(Launch& launch);
    bool PlayOneRound(Launch& launch, int hand);

    // Typing: times keystrokes into the program, whose glyphs appear in textColor, and reads
    // the X requests of each from its output when it reports them.
    void MeasureTyping(const std::vector<std::string>& command, const std::string& name,
                       unsigned long textColor, std::vector<double>& samples,
                       std::vector<double>* requests);

    // Input and polling
    // Puts the pointer on the middle of the area and lets the program take that in, so that
    // a timed click holds the click alone.
    void MovePointer(Window window, const Area& area);
    Clock::time_point PressAndRelease();
    // Reads the probe every `period` until `done` holds; the middle of the read that first saw
    // it, or nothing when the time ran out.
    std::optional<Clock::time_point> Poll(PixelProbe& probe,
                                          const std::function<bool(const Pixels&)>& done,
                                          int timeoutMs, std::chrono::microseconds period);
    bool WaitForWindowGone(Window window, int timeoutMs);
    // Closes the running game's CPU span when it is due.
    void TickCpuWindow(pid_t pid, bool last);

    // Keeps a sample, and shows it at once when asked to.
    void Add(std::vector<double>& samples, double value, const std::string& label);
    void Fail(const std::string& message);
    static const char* Name(ProgramKind kind);
    // The period of timed waits.
    std::chrono::microseconds FinePeriod() const;

    BenchOptions options;
    std::unique_ptr<GameDriver> driver;
    // The driver's connection, which the timed polls use too.
    Display* display = nullptr;
    XFontStruct* font = nullptr;
    pid_t serverPid = 0;

    SampleSet boardSamples;
    SampleSet minimalSamples;
    SampleSet resultSamples;
    SampleSet choiceSamples;
    SampleSet captionSamples;

    LaunchFigures launches[kProgramKinds];
    RoundFigures rounds;
    TypingFigures typing;

    // The running game's current CPU span.
    Clock::time_point windowStart;
    long long windowTicks = -1;
    long long windowServerTicks = -1;
    long long windowSwitches = -1;

    std::vector<std::string> failures;
};
