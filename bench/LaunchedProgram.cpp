#include "bench/LaunchedProgram.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

const int kTerminateTimeoutMs = 3000;
const auto kExitPollInterval = std::chrono::milliseconds(5);
const int kExecFailed = 127;

// Between fork and exec the child may only make system calls.
[[noreturn]] void RunChild(const char* program, char* const* argv, const char* folder, int input,
                           int output) {
    if (chdir(folder) != 0 || dup2(input, STDIN_FILENO) < 0 || dup2(output, STDOUT_FILENO) < 0 ||
        dup2(output, STDERR_FILENO) < 0) {
        _exit(kExecFailed);
    }
    // Whatever else the benchmark holds open must not show up among the program's
    // descriptors, which the benchmark counts.
    if (close_range(3, ~0U, 0) != 0) {
        const long limit = sysconf(_SC_OPEN_MAX);
        for (long fd = 3; fd < (limit > 0 ? limit : 1024); ++fd) {
            close(static_cast<int>(fd));
        }
    }
    execv(program, argv);
    _exit(kExecFailed);
}

} // namespace

LaunchedProgram::~LaunchedProgram() {
    Terminate();
}

bool LaunchedProgram::Start(const std::string& program, const std::string& folder,
                            const std::string& log) {
    if (running) {
        error = "already running";
        return false;
    }
    // The child changes folder before it runs the program, so a relative name is made
    // absolute against the folder the caller meant it in.
    std::string programCopy = program;
    char here[PATH_MAX];
    if (!program.empty() && program[0] != '/' && getcwd(here, sizeof here) != nullptr) {
        programCopy = std::string(here) + "/" + program;
    }
    std::vector<char*> argv{programCopy.data(), nullptr};
    const int input = open("/dev/null", O_RDONLY | O_CLOEXEC);
    const int output = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (input < 0 || output < 0) {
        error = "cannot open /dev/null or " + log + ": " + std::strerror(errno);
        if (input >= 0) {
            close(input);
        }
        if (output >= 0) {
            close(output);
        }
        return false;
    }
    exitStatus = -1;
    startTime = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        RunChild(programCopy.c_str(), argv.data(), folder.c_str(), input, output);
    }
    const int forkError = errno;
    close(input);
    close(output);
    if (child < 0) {
        error = std::string("fork failed: ") + std::strerror(forkError);
        return false;
    }
    pid = child;
    running = true;
    return true;
}

bool LaunchedProgram::IsRunning() {
    if (!running) {
        return false;
    }
    int status = 0;
    const pid_t result = waitpid(pid, &status, WNOHANG);
    if (result == 0) {
        return true;
    }
    if (result == pid) {
        exitStatus = WIFEXITED(status) ? WEXITSTATUS(status)
                                       : (WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1);
    }
    // Also when waitpid failed: the child is not ours to wait for any more.
    running = false;
    return false;
}

bool LaunchedProgram::WaitForExit(int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (IsRunning()) {
        if (Clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(kExitPollInterval);
    }
    return true;
}

void LaunchedProgram::Terminate() {
    if (!IsRunning()) {
        return;
    }
    kill(pid, SIGTERM);
    if (!WaitForExit(kTerminateTimeoutMs)) {
        kill(pid, SIGKILL);
        WaitForExit(kTerminateTimeoutMs);
    }
}
