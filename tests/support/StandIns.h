#pragma once

#include <string>
#include <vector>

// Stand-ins for the external programs the game starts (aplay, firefox, thunderbird): small
// shell scripts in a bin folder of their own, put first on PATH, that write down every call
// with its exact arguments and then end as told. Tests assert the exact command lines the
// game ran without playing a sound or opening a browser.
class StandIns {
  public:
    enum class Ending {
        kSucceed,          // exits with status 0
        kHoldUntilRelease, // waits for Release(), notes that it finished, then exits 0
        // notes the targets of its own open descriptors and of every shell between it and
        // the program that started it (readlink of /proc/<pid>/fd/*), then exits 0
        kListDescriptors,
    };

    struct Call {
        double time = 0; // seconds since the epoch
        std::string program;
        std::vector<std::string> arguments;
    };

    // The stand-ins live in <folder>/bin; their record in <folder>/calls.
    explicit StandIns(const std::string& folder);
    // Lets held stand-ins go and waits (bounded) for every process that still runs from the
    // folder; restores PATH when PutFirstOnPath changed it.
    ~StandIns();
    StandIns(const StandIns&) = delete;
    StandIns& operator=(const StandIns&) = delete;

    // Writes (or rewrites) the stand-in for the program.
    void Install(const std::string& program, Ending ending = Ending::kSucceed);
    // "PATH=<bin>:..." for a program started with its own environment.
    std::string PathSetting() const;
    // For code under test that runs in the test's own process.
    void PutFirstOnPath();

    // Lets every held stand-in, and every command waiting on HeldCommand, go on.
    void Release();
    // A shell command that waits until Release().
    std::string HeldCommand() const;

    std::vector<Call> Calls() const;
    int FinishedCount() const;
    // What the kListDescriptors stand-ins noted, such as "pipe:[45]" or "/dev/null".
    std::vector<std::string> DescriptorsSeen() const;
    // Waits (bounded) until at least count calls have been recorded.
    bool WaitForCalls(size_t count, int timeoutMs = 10000) const;

  private:
    std::string folder;
    std::string previousPath;
    bool pathChanged = false;
};
