#include "util/ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
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

// Starts the shell on the script with SIGCHLD held by the caller; the child's pid, or -1.
// posix_spawn starts it without copying the program: the child shares the parent's memory
// until it runs the shell, so a sound costs the game no copy of its pages in the middle of a
// round, and the child can do nothing between the two but what is asked of it here.
pid_t SpawnShell(const std::string& script, const sigset_t& parentMask) {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    if (posix_spawn_file_actions_init(&actions) != 0) {
        return -1;
    }
    if (posix_spawnattr_init(&attributes) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return -1;
    }
    // Nothing the shell or its command says may reach the program's own output, and it reads
    // nothing of the program's input. Every other descriptor of the program is close-on-exec,
    // so the shell holds none of them: not the X connection, not the timer's pipe.
    bool ready =
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0) == 0 &&
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0) == 0 &&
        posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO) == 0;
    // The handler and the mask are the parent's business; the shell starts with neither.
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGCHLD);
    ready =
        ready && posix_spawnattr_setsigdefault(&attributes, &defaults) == 0 &&
        posix_spawnattr_setsigmask(&attributes, &parentMask) == 0 &&
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK) == 0;
    pid_t pid = -1;
    if (ready) {
        char shell[] = "sh";
        char option[] = "-c";
        std::string text = script;
        char* arguments[] = {shell, option, text.data(), nullptr};
        const int failure = posix_spawn(&pid, "/bin/sh", &actions, &attributes, arguments, environ);
        if (failure != 0) {
            pid = -1;
            errno = failure;
        }
    }
    const int savedErrno = errno;
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
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
    const std::string script = repeat ? "while " + command + "\ndo :; done" : command + "\nexit $?";

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
