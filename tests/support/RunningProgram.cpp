#include "support/RunningProgram.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "support/TempFolder.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

const int kKillTimeoutMs = 5000;

std::string NameOf(const std::string& variable) {
    return variable.substr(0, variable.find('='));
}

std::vector<std::string> ChangedEnvironment(const std::vector<std::string>& changes) {
    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string variable = *entry;
        bool changed = false;
        for (const std::string& change : changes) {
            changed = changed || NameOf(change) == NameOf(variable);
        }
        if (!changed) {
            environment.push_back(variable);
        }
    }
    for (const std::string& change : changes) {
        if (change.find('=') != std::string::npos) {
            environment.push_back(change);
        }
    }
    return environment;
}

} // namespace

RunningProgram::~RunningProgram() {
    Stop(kKillTimeoutMs);
}

bool RunningProgram::Start(const std::vector<std::string>& command,
                           const std::vector<std::string>& environmentChanges,
                           const std::string& folder, const std::string& outputFile,
                           const std::string& errorFile) {
    if (running || command.empty()) {
        return false;
    }
    // Everything the child needs is made before the fork: between fork and exec it may only
    // make system calls.
    std::vector<std::string> environment = ChangedEnvironment(environmentChanges);
    std::vector<char*> envp;
    for (std::string& variable : environment) {
        envp.push_back(variable.data());
    }
    envp.push_back(nullptr);
    std::vector<std::string> arguments = command;
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    const int input = open("/dev/null", O_RDONLY | O_CLOEXEC);
    const int output = open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const int errors =
        errorFile.empty()
            ? output
            : open(errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const auto closeAll = [&] {
        for (int fd : {input, output}) {
            if (fd >= 0) {
                close(fd);
            }
        }
        if (errors >= 0 && errors != output) {
            close(errors);
        }
    };
    if (input < 0 || output < 0 || errors < 0) {
        closeAll();
        return false;
    }

    const pid_t child = fork();
    if (child == 0) {
        // A group of its own lets Stop reach whatever the program starts in turn.
        setpgid(0, 0);
        if ((!folder.empty() && chdir(folder.c_str()) != 0) || dup2(input, STDIN_FILENO) < 0 ||
            dup2(output, STDOUT_FILENO) < 0 || dup2(errors, STDERR_FILENO) < 0) {
            _exit(127);
        }
        execvpe(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    closeAll();
    if (child < 0) {
        return false;
    }
    // Set from both sides, so the group exists whichever of the two runs first.
    setpgid(child, child);
    pid = child;
    running = true;
    exitStatus = -1;
    return true;
}

bool RunningProgram::IsRunning() {
    if (!running) {
        return false;
    }
    int status = 0;
    pid_t result;
    do {
        result = waitpid(pid, &status, WNOHANG);
    } while (result < 0 && errno == EINTR);
    if (result == pid) {
        running = false;
        exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    } else if (result < 0) {
        running = false;
    }
    return running;
}

bool RunningProgram::WaitForExit(int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (IsRunning()) {
        if (Clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

bool RunningProgram::Stop(int timeoutMs) {
    if (pid <= 0) {
        return false;
    }
    bool gentle = true;
    if (IsRunning()) {
        kill(pid, SIGTERM);
        if (!WaitForExit(timeoutMs)) {
            gentle = false;
            kill(pid, SIGKILL);
            WaitForExit(kKillTimeoutMs);
        }
    }
    // Children the program left behind still carry its group; none of them may outlive it.
    kill(-pid, SIGKILL);
    return gentle;
}

ProgramResult RunProgram(const std::vector<std::string>& command,
                         const std::vector<std::string>& environmentChanges,
                         const std::string& folder, int timeoutMs) {
    ProgramResult result;
    char pattern[] = "/tmp/brisgola-output-XXXXXX";
    const int fd = mkstemp(pattern);
    if (fd < 0) {
        result.output = "cannot make a file for the output";
        return result;
    }
    close(fd);
    RunningProgram program;
    if (program.Start(command, environmentChanges, folder, pattern)) {
        if (program.WaitForExit(timeoutMs)) {
            result.status = program.ExitStatus();
        } else {
            program.Stop(kKillTimeoutMs);
        }
        result.output = ReadRawFile(pattern);
    } else {
        result.output = "cannot start " + command.front();
    }
    unlink(pattern);
    return result;
}
