#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

#include "support/StandIns.h"
#include "support/TempFolder.h"
#include "tools/harness/RunningProgram.h"

// The real game program running as a child of the test, in a sandbox of its own:
//   <sandbox>/work      the game's working folder, holding Data/ with the three sounds
//   <sandbox>/bin       stand-ins for aplay, firefox and thunderbird, first on the game's PATH
//   <sandbox>/stdout, <sandbox>/stderr   what the game wrote
// The sandbox goes when the object does; a game still running then is stopped first.
class GameProcess {
public:
    GameProcess();
    ~GameProcess();
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    bool Start(const std::string& program, const std::string& soundsFolder);
    RunningProgram& Program() { return program; }
    StandIns& Recorded() { return standIns; }

    // What the game left behind
    const std::string& WorkFolder() const { return workFolder; }
    std::string Output() const;
    std::string Errors() const;
    // The contents of "log.txt", empty when there is none.
    std::string LogText() const;
    // Names in the working folder (or in one of its sub-folders), sorted.
    std::vector<std::string> FolderEntries(const std::string& subFolder = "") const;

private:
    TempFolder sandbox;
    std::string workFolder;
    StandIns standIns;
    RunningProgram program;
};
