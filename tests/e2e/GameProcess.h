#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

#include "support/RunningProgram.h"

// One call of an external program that the game made, as the recording stand-in saw it.
struct RecordedCommand {
    double time = 0;     // seconds since the epoch
    std::string program; // "aplay", "firefox" or "thunderbird"
    std::vector<std::string> arguments;
};

// The real game program running as a child of the test, in a sandbox of its own:
//   <sandbox>/work      the game's working folder, holding Data/ with the three sounds
//   <sandbox>/bin       stand-ins for aplay, firefox and thunderbird, first on the game's PATH
//   <sandbox>/commands  the stand-ins' record: one line per call, tab-separated
//   <sandbox>/stdout, <sandbox>/stderr   what the game wrote
// The sandbox goes when the object does; a game still running then is stopped first.
class GameProcess {
public:
    GameProcess();
    ~GameProcess();
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    // Starting and ending
    bool IsReady() const { return !sandbox.empty(); }
    bool Start(const std::string& program, const std::string& soundsFolder);
    pid_t Pid() const { return program.Pid(); }
    // Collects the exit status if the game has ended; true while it runs.
    bool IsRunning();
    // Waits (bounded) for the game to end by itself.
    bool WaitForExit(int timeoutMs);
    // The last resort: SIGTERM, and SIGKILL when that is not enough.
    void Terminate();
    // The exit status of a game that ended normally, or -1.
    int ExitStatus() const { return program.ExitStatus(); }

    // What the game left behind
    const std::string& WorkFolder() const { return workFolder; }
    std::string Output() const;
    std::string Errors() const;
    // The contents of "log.txt", empty when there is none.
    std::string LogText() const;
    bool HasLog() const;
    // Names in the working folder (or in one of its sub-folders), sorted.
    std::vector<std::string> FolderEntries(const std::string& subFolder = "") const;
    std::vector<RecordedCommand> Commands() const;
    // Children of the game that have ended and that nobody has waited for.
    std::vector<pid_t> ZombieChildren() const;

private:
    bool WriteStandIns();

    std::string sandbox;
    std::string workFolder;
    RunningProgram program;
};
