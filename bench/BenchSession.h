#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/XlibHeaders.h"
#include "bench/BenchFigures.h"
#include "bench/BenchOptions.h"
#include "bench/BoardSamples.h"
#include "bench/ResultTable.h"
#include "bench/TimedInput.h"
#include "tools/driver/GameDriver.h"

// The game's own names that the harness looks for on the screen.
const char* const kWindowClass = kGameWindowClass;
const char* const kGameOverText = kGameOverStatus;

// The programs whose launches are compared.
enum ProgramKind { kGame = 0, kFloor = 1, kMinimal = 2, kProgramKinds = 3 };

// What the benchmarks share: the driver's connection to the display, what each program is
// expected to show, the timed input, and the figures and failures that make the table.
// LaunchBench, TypingBench and RoundBench each measure through one open session.
class BenchSession {
  public:
    explicit BenchSession(const BenchOptions& options);
    ~BenchSession();
    BenchSession(const BenchSession&) = delete;
    BenchSession& operator=(const BenchSession&) = delete;

    // Connects to the display and prepares the expected pixels; false with a message on
    // standard error when the benchmark cannot run at all.
    bool Open();

    // The connection, shared by the driver and the timed polls
    const BenchOptions& Options() const { return options; }
    GameDriver& Driver() { return *driver; }
    Display* GetDisplay() const { return display; }
    TimedInput& Input() { return *input; }
    // 0 when the X server's process is unknown, and its CPU is left out.
    pid_t ServerPid() const { return serverPid; }
    static const char* Name(ProgramKind kind);

    // What the programs show: the whole idle board (the minimal client's marker for it), the
    // result pictures, the choice row and the START and CANCEL captions.
    const SampleSet& IdleSamples(ProgramKind kind) const;
    const SampleSet& Results() const { return resultSamples; }
    const SampleSet& Choices() const { return choiceSamples; }
    const SampleSet& Captions() const { return captionSamples; }

    // The figures
    LaunchFigures& Launches(ProgramKind kind) { return launches[kind]; }
    RoundFigures& Rounds() { return rounds; }
    TypingFigures& Typing() { return typing; }
    // Keeps a sample, and shows it at once when asked to.
    void Add(std::vector<double>& samples, double value, const std::string& label);
    void Fail(const std::string& message);
    // Whatever went wrong on the way; an empty list means every measurement completed.
    const std::vector<std::string>& Failures() const { return failures; }
    // The table of every figure measured.
    ResultTable MakeTable() const;

  private:
    BenchOptions options;
    std::unique_ptr<GameDriver> driver;
    std::unique_ptr<TimedInput> input;
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

    std::vector<std::string> failures;
};
