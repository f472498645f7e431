#pragma once

#include <chrono>
#include <string>
#include <sys/types.h>

// One program started by the benchmark: its own working folder, its output in a log file,
// nothing inherited but the three standard descriptors, and the moment just before the fork
// as the start of every "from exec" figure.
class LaunchedProgram {
public:
    using Clock = std::chrono::steady_clock;

    LaunchedProgram() = default;
    // A program still running then is stopped.
    ~LaunchedProgram();
    LaunchedProgram(const LaunchedProgram&) = delete;
    LaunchedProgram& operator=(const LaunchedProgram&) = delete;

    // Starts the program with no arguments in the folder, its standard output and error
    // appended to the log file. False when it could not be started (the reason is in
    // `Error`); a program that starts and then fails to exec ends at once with status 127.
    bool Start(const std::string& program, const std::string& folder, const std::string& log);
    pid_t Pid() const { return pid; }
    Clock::time_point StartTime() const { return startTime; }
    const std::string& Error() const { return error; }

    // Collects the exit status of a program that has ended; true while it runs.
    bool IsRunning();
    // Waits (bounded) for the program to end by itself.
    bool WaitForExit(int timeoutMs);
    // SIGTERM, then SIGKILL when that is not enough.
    void Terminate();
    // The exit code, 128 + the signal for a program a signal ended, or -1 while unknown.
    int ExitStatus() const { return exitStatus; }

private:
    pid_t pid = -1;
    bool running = false;
    int exitStatus = -1;
    Clock::time_point startTime;
    std::string error;
};
