#pragma once

#include <chrono>
#include <string>
#include <sys/types.h>
#include <vector>

// An external program started by a tool or a test: the game, the floor, an installer, a
// validator. It runs in a process group of its own, in the given folder, with standard input
// from /dev/null, standard output and error appended to one file (or two when the errors must
// be seen alone), and no other descriptor of the caller's. A program still running when the
// object goes is stopped, together with anything it started; one still running when the
// caller dies is killed.
//
// Environment changes are "NAME=value" to set a variable and a bare "NAME" to remove it from
// what the program inherits.
class RunningProgram {
  public:
    using Clock = std::chrono::steady_clock;

    RunningProgram() = default;
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // Starting and ending
    // A bare name is looked up on PATH; a relative path is taken from the caller's folder,
    // not the program's. An empty errorFile sends standard error to outputFile as well.
    // False, with the reason in Error(), when it could not be started; a program that starts
    // and then fails to exec ends at once with status 127.
    bool Start(const std::vector<std::string>& command,
               const std::vector<std::string>& environmentChanges, const std::string& folder,
               const std::string& outputFile, const std::string& errorFile = "");
    pid_t Pid() const { return pid; }
    // Just before the fork: where every "from exec" time starts.
    Clock::time_point StartTime() const { return startTime; }
    const std::string& Error() const { return error; }
    // Collects the exit status of a program that has ended; true while it runs.
    bool IsRunning();
    // Waits (bounded) for the program to end by itself.
    bool WaitForExit(int timeoutMs);
    // SIGTERM to the program, SIGKILL when it has not ended in time; either way the rest of
    // its process group is killed afterwards. True when SIGTERM alone was enough.
    bool Stop(int timeoutMs);
    // The exit code of a program that ended, 128 + the signal that ended it, or -1.
    int ExitStatus() const { return exitStatus; }

  private:
    pid_t pid = -1;
    bool running = false;
    bool stopped = false;
    int exitStatus = -1;
    Clock::time_point startTime;
    std::string error;
};

struct ProgramResult {
    int status = -1; // as RunningProgram::ExitStatus; -1 also when it did not end in time
    std::string output;
};

// Runs a program to its end (bounded) and returns its status and everything it printed.
ProgramResult RunProgram(const std::vector<std::string>& command,
                         const std::vector<std::string>& environmentChanges = {},
                         const std::string& folder = "", int timeoutMs = 60000);
