#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// An external program started by a test: the game, the installer, a validator or the
// packager. It runs in a process group of its own, with standard input from /dev/null and
// standard output and error going to one file, so a test can read what it said in the order
// it said it, or to two when the test must see the errors alone. A program still running
// when the object goes is stopped, together with anything it started.
//
// Environment changes are "NAME=value" to set a variable and a bare "NAME" to remove it from
// what the program inherits from the test.
class RunningProgram {
  public:
    RunningProgram() = default;
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // Starting and ending
    // The program is looked up on PATH unless it is a path. An empty errorFile sends
    // standard error to outputFile as well.
    bool Start(const std::vector<std::string>& command,
               const std::vector<std::string>& environmentChanges, const std::string& folder,
               const std::string& outputFile, const std::string& errorFile = "");
    pid_t Pid() const { return pid; }
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
    int exitStatus = -1;
};

struct ProgramResult {
    int status = -1; // as RunningProgram::ExitStatus; -1 also when it did not end in time
    std::string output;
};

// Runs a program to its end (bounded) and returns its status and everything it printed.
ProgramResult RunProgram(const std::vector<std::string>& command,
                         const std::vector<std::string>& environmentChanges = {},
                         const std::string& folder = "", int timeoutMs = 60000);
