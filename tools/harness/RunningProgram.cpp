#include "tools/harness/RunningProgram.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tools/harness/WaitUntil.h"
#include "tools/harness/WholeFile.h"

extern char** environ;

namespace {

const int kKillTimeoutMs = 5000;
const int kExecFailed = 127;
const int kExitPollMs = 5;

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

// The child changes folder before it runs the program, so a relative path is made absolute
// against the folder the caller meant it in.
std::string ResolveProgram(const std::string& program) {
    if (program.empty() || program[0] == '/' || program.find('/') == std::string::npos) {
        return program;
    }
    char here[PATH_MAX];
    return getcwd(here, sizeof here) != nullptr ? std::string(here) + "/" + program : program;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& text : strings) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// Between fork and exec the child may only make system calls.
[[noreturn]] void RunChild(char* const* argv, char* const* envp, const std::string& folder,
                           int input, int output, int errors, pid_t caller) {
    // A group of its own lets Stop reach whatever the program starts in turn, but also takes
    // the program out of the caller's: a caller that dies without stopping it (a crash, a
    // timeout's kill, Ctrl-C) would leave it running. So it dies with the caller, unless it
    // changes its user (the kernel then forgets the request). A caller gone already is caught
    // by the parent check.
    setpgid(0, 0);
    if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || getppid() != caller) {
        _exit(kExecFailed);
    }
    if ((!folder.empty() && chdir(folder.c_str()) != 0) || dup2(input, STDIN_FILENO) < 0 ||
        dup2(output, STDOUT_FILENO) < 0 || dup2(errors, STDERR_FILENO) < 0) {
        _exit(kExecFailed);
    }
    // Whatever else the caller holds open must not show up among the program's descriptors,
    // which the benchmark counts and the tests inspect.
    if (close_range(3, ~0U, 0) != 0) {
        const long limit = sysconf(_SC_OPEN_MAX);
        for (long fd = 3; fd < (limit > 0 ? limit : 1024); ++fd) {
            close(static_cast<int>(fd));
        }
    }
    execvpe(argv[0], argv, envp);
    _exit(kExecFailed);
}

int OpenOutput(const std::string& path) {
    return open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
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
        error = running ? "already running" : "no command";
        return false;
    }
    // Everything the child needs is made before the fork.
    std::vector<std::string> environment = ChangedEnvironment(environmentChanges);
    std::vector<std::string> arguments = command;
    arguments[0] = ResolveProgram(arguments[0]);
    const std::vector<char*> envp = Pointers(environment);
    const std::vector<char*> argv = Pointers(arguments);

    const int input = open("/dev/null", O_RDONLY | O_CLOEXEC);
    const int output = OpenOutput(outputFile);
    const int errors = errorFile.empty() ? output : OpenOutput(errorFile);
    const auto closeAll = [&] {
        for (int fd : {input, output, errors == output ? -1 : errors}) {
            if (fd >= 0) {
                close(fd);
            }
        }
    };
    if (input < 0 || output < 0 || errors < 0) {
        error = "cannot open /dev/null or the output files: " + std::string(std::strerror(errno));
        closeAll();
        return false;
    }

    startTime = Clock::now();
    const pid_t caller = getpid();
    const pid_t child = fork();
    if (child == 0) {
        RunChild(argv.data(), envp.data(), folder, input, output, errors, caller);
    }
    const int forkError = errno;
    closeAll();
    if (child < 0) {
        error = "fork failed: " + std::string(std::strerror(forkError));
        return false;
    }
    // Set from both sides, so the group exists whichever of the two runs first.
    setpgid(child, child);
    pid = child;
    running = true;
    stopped = false;
    exitStatus = -1;
    error.clear();
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
    if (result == 0) {
        return true;
    }
    if (result == pid) {
        exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    // Also when waitpid failed: the child is not ours to wait for any more.
    running = false;
    return false;
}

bool RunningProgram::WaitForExit(int timeoutMs) {
    return WaitUntil([this] { return !IsRunning(); }, timeoutMs, kExitPollMs);
}

bool RunningProgram::Stop(int timeoutMs) {
    // Once stopped, the group may belong to somebody else by the time of a second call.
    if (pid <= 0 || stopped) {
        return false;
    }
    stopped = true;
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
        result.output = ReadWholeFile(pattern);
    } else {
        result.output = "cannot start " + command.front() + ": " + program.Error();
    }
    unlink(pattern);
    return result;
}
