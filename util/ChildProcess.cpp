#include "util/ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

// The table of started children is shared between the main line and the SIGCHLD handler.
// The handler only reads a slot, waits for that one pid without blocking and clears the slot;
// the main line fills, checks and clears slots with SIGCHLD blocked, so the two never meet
// half-way and the handler needs no lock and no allocation.

namespace {

static_assert(sizeof(pid_t) <= sizeof(sig_atomic_t), "a pid must fit in a signal-safe slot");

// A slot holds the pid of a running child, or 0 when it is free.
volatile sig_atomic_t childSlots[kMaxShellChildren];
bool handlerInstalled = false;

// Reaps the slot's child if it has ended. Safe in the handler and, with SIGCHLD blocked, in
// the main line. ECHILD means somebody else has already waited for it (or SIGCHLD is
// ignored and the system reaped it): either way the pid is no longer ours.
void ReapSlot(int index) {
    const pid_t pid = childSlots[index];
    if (pid <= 0) {
        return;
    }
    int status = 0;
    const pid_t result = waitpid(pid, &status, WNOHANG);
    if (result == pid || (result == -1 && errno == ECHILD)) {
        childSlots[index] = 0;
    }
}

void OnChildSignal(int) {
    // waitpid may set errno, and the interrupted code may be about to read its own.
    const int savedErrno = errno;
    for (int index = 0; index < kMaxShellChildren; ++index) {
        ReapSlot(index);
    }
    errno = savedErrno;
}

void InstallHandler() {
    if (handlerInstalled) {
        return;
    }
    struct sigaction action = {};
    action.sa_handler = OnChildSignal;
    sigemptyset(&action.sa_mask);
    // SA_RESTART keeps reads and writes from failing with EINTR whenever a sound ends (poll
    // is never restarted, so its callers retry it); SA_NOCLDSTOP because a stopped child has
    // nothing to reap.
    action.sa_flags = SA_RESTART | SA_NOCLDSTOP;
    // Should this ever fail, the full-table sweep in StartShellChild still bounds the zombies.
    handlerInstalled = sigaction(SIGCHLD, &action, nullptr) == 0;
}

// Holds SIGCHLD back for the lifetime of the object, so the handler cannot change the table
// (or reap a pid the caller is about to signal) in the meantime.
class ChildSignalBlock {
  public:
    ChildSignalBlock() {
        sigset_t childSignal;
        sigemptyset(&childSignal);
        sigaddset(&childSignal, SIGCHLD);
        sigprocmask(SIG_BLOCK, &childSignal, &previousMask);
    }
    ~ChildSignalBlock() {
        const int savedErrno = errno;
        sigprocmask(SIG_SETMASK, &previousMask, nullptr);
        errno = savedErrno;
    }
    ChildSignalBlock(const ChildSignalBlock&) = delete;
    ChildSignalBlock& operator=(const ChildSignalBlock&) = delete;

    const sigset_t& PreviousMask() const { return previousMask; }

  private:
    sigset_t previousMask;
};

int FindSlot(pid_t pid) {
    for (int index = 0; index < kMaxShellChildren; ++index) {
        if (childSlots[index] == pid) {
            return index;
        }
    }
    return -1;
}

// Call with SIGCHLD blocked.
bool IsRunningBlocked(pid_t pid) {
    if (pid <= 0) {
        return false;
    }
    const int index = FindSlot(pid);
    if (index < 0) {
        return false;
    }
    // A child that ended while SIGCHLD was held back is still a zombie here; reaping it now
    // gives the true answer instead of a stale one.
    ReapSlot(index);
    return childSlots[index] == pid;
}

bool Succeeded(int status) {
    return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Between fork and exec the child may only make system calls: everything it needs is made
// before the fork.
[[noreturn]] void RunShell(const char* script, int nothing, const sigset_t& parentMask) {
    // The handler and the mask are the parent's business; the shell starts with neither.
    struct sigaction defaultAction = {};
    defaultAction.sa_handler = SIG_DFL;
    sigemptyset(&defaultAction.sa_mask);
    sigaction(SIGCHLD, &defaultAction, nullptr);
    sigprocmask(SIG_SETMASK, &parentMask, nullptr);
    // Nothing the shell or its command says may reach the program's own output, and it reads
    // nothing of the program's input.
    dup2(nothing, STDIN_FILENO);
    dup2(nothing, STDOUT_FILENO);
    dup2(nothing, STDERR_FILENO);
    // Every descriptor of the program is close-on-exec, so the shell holds none of them: not
    // the X connection, not the timer's pipe.
    execl("/bin/sh", "sh", "-c", script, static_cast<char*>(nullptr));
    _exit(127);
}

// Starts the shell on the script with SIGCHLD held by the caller; the child's pid, or -1.
pid_t SpawnShell(const std::string& script, const sigset_t& parentMask) {
    const int nothing = open("/dev/null", O_RDWR | O_CLOEXEC);
    if (nothing < 0) {
        return -1;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        RunShell(script.c_str(), nothing, parentMask);
    }
    const int savedErrno = errno;
    close(nothing);
    errno = savedErrno;
    return pid;
}

bool IsPlainCharacter(char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
        return true;
    }
    switch (c) {
    case '_':
    case '.':
    case '/':
    case '-':
    case '+':
    case ',':
    case ':':
    case '=':
    case '@':
    case '%':
        return true;
    default:
        return false;
    }
}

} // namespace

pid_t StartShellChild(const std::string& command, bool repeat) {
    InstallHandler();
    // The shell waits for the command rather than becoming it, so that stopping the child
    // stops no more than what would have come after: a sound under way plays to its end.
    const std::string script =
        repeat ? "while " + command + "\ndo :; done" : command + "\nexit $?";

    // With SIGCHLD held back, a child that ends at once cannot be reaped before its pid is in
    // the table, where the handler would not find it.
    ChildSignalBlock block;
    int slot = FindSlot(0);
    if (slot < 0) {
        for (int index = 0; index < kMaxShellChildren; ++index) {
            ReapSlot(index);
        }
        slot = FindSlot(0);
    }
    if (slot < 0) {
        // Every slot holds a child that is still running. Refusing keeps each started child
        // reapable and turns a flood of requests into back-pressure instead of a fork bomb.
        errno = EAGAIN;
        return -1;
    }

    const pid_t pid = SpawnShell(script, block.PreviousMask());
    if (pid > 0) {
        childSlots[slot] = pid;
    }
    return pid;
}

bool IsChildRunning(pid_t pid) {
    ChildSignalBlock block;
    return IsRunningBlocked(pid);
}

bool SignalChild(pid_t pid, int signalNumber) {
    ChildSignalBlock block;
    if (!IsRunningBlocked(pid)) {
        return false;
    }
    return kill(pid, signalNumber) == 0;
}

bool RunCommand(const std::string& program, const std::string& arguments) {
    pid_t pid;
    {
        // Held while the child starts, so that it leaves with the mask the caller had.
        ChildSignalBlock block;
        pid = SpawnShell(program + " " + arguments, block.PreviousMask());
    }
    if (pid < 0) {
        return false;
    }
    int status = 0;
    pid_t result;
    do {
        result = waitpid(pid, &status, 0);
    } while (result < 0 && errno == EINTR);
    return result == pid && Succeeded(status);
}

std::string ShellQuote(const std::string& argument) {
    // Whatever follows a NUL never reaches the shell, nor the file system, so it is dropped
    // here rather than left to cut the quoting in half.
    const std::string text = argument.substr(0, argument.find('\0'));

    bool plain = !text.empty();
    for (const char c : text) {
        plain = plain && IsPlainCharacter(c);
    }
    if (plain) {
        return text;
    }
    // Inside single quotes the shell takes every character literally; a single quote itself
    // is written as: close the quotes, an escaped quote, open them again.
    std::string quoted = "'";
    for (const char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    quoted += '\'';
    return quoted;
}
