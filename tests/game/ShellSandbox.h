#pragma once

#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

// A throw-away working folder for tests that start shell children. It becomes the working
// directory and its own folder is put first on PATH, where a recording "aplay" can be
// installed; everything is undone by the destructor.
class ShellSandbox {
  public:
    // What the recording "aplay" does after writing down its arguments.
    enum class PlayerMode {
        Succeed,         // exits with status 0
        Fail,            // exits with status 1
        HoldUntilRelease // waits for Release(), then notes that it finished, then exits 0
    };

    // One call of the recording player.
    struct PlayerCall {
        int argumentCount = 0;
        std::string arguments; // the arguments, one per line
    };

    ShellSandbox();
    ~ShellSandbox();
    ShellSandbox(const ShellSandbox&) = delete;
    ShellSandbox& operator=(const ShellSandbox&) = delete;

    const std::string& Folder() const { return folder; }
    void InstallPlayer(PlayerMode mode);
    void CreateFile(const std::string& relativePath);
    // Lets every held player (and every command waiting on HeldCommand) go on.
    void Release();
    // A shell command that waits until Release().
    std::string HeldCommand() const;

    std::vector<PlayerCall> PlayerCalls() const;
    int FinishedPlayerCount() const;

  private:
    std::string folder;
    std::string previousFolder;
    std::string previousPath;
};

// Process and descriptor probes, read from /proc.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 10000);
bool ProcessExists(pid_t pid);
std::vector<pid_t> ChildProcesses();
int ZombieChildCount();
int OpenDescriptorCount();
std::string ReadWholeFile(const std::string& path);
