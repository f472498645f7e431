#pragma once

#include <string>
#include <sys/types.h>

// Short-lived shell children (sounds, links) that the caller never waits for, and the
// synchronous shell command they fall back to.
//
// A child started here is remembered in a fixed table until it ends; a SIGCHLD handler,
// installed on first use, reaps exactly those children and no others, so that code which
// waits for its own children (system(), a test's waitpid) keeps its exit statuses.

// How many started children may be running at the same time. Past that, starting one more
// fails as if fork had failed, and the caller runs its command itself.
constexpr int kMaxShellChildren = 64;

// Starting children
// Starts a shell child that runs the command; the child holds no descriptor of the program's
// and its output goes nowhere. With repeat the shell runs the command again each time it
// succeeds, until it is killed; a failing command ends the loop so that a missing program
// cannot start shells without end. Stopping the child lets the command under way finish.
// Answers the child's pid at once, or -1 when no child could be started (fork failed or the
// table is full).
pid_t StartShellChild(const std::string& command, bool repeat = false);

// Watching and stopping them
// True while the pid names a child started here that has not ended and been reaped.
bool IsChildRunning(pid_t pid);
// Sends the signal only when IsChildRunning(pid); the check and the kill happen with SIGCHLD
// held back, so a pid that has been reaped and handed to another process is never signalled.
// Answers whether the signal was sent.
bool SignalChild(pid_t pid, int signalNumber);

// Synchronous commands
// Runs program, a blank and the arguments through the shell and waits for it, its output
// going nowhere. True when the command ran and exited with status 0.
bool RunCommand(const std::string& program, const std::string& arguments);

// Quotes one argument for the POSIX shell so that it arrives as exactly one word and nothing
// in it is expanded or run. Names made only of letters, digits and _./-+,:=@% come back
// unchanged. A C string ends at its first NUL, and so does the quoted argument.
std::string ShellQuote(const std::string& argument);
