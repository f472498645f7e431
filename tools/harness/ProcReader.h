#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// Readings of processes from /proc, for tools and tests that must see from outside what a
// program costs, which children it left, what it holds open. Every reading answers -1 (or an
// empty value) when the process is gone or its file cannot be read.

// Parsing (the texts of /proc files)
struct StatFields {
    char state = '?'; // 'Z' for a zombie
    pid_t parent = 0;
    pid_t group = 0;
    long long utime = 0; // clock ticks
    long long stime = 0;
};
// The text of /proc/<pid>/stat. The command name may hold blanks and parentheses, so the
// fields are counted from its last closing parenthesis.
bool ParseStat(const std::string& text, StatFields& fields);
// The number of a "Name:   value [kB]" line of /proc/<pid>/status, or -1.
long long StatusValue(const std::string& text, const std::string& name);
// The inodes of the listening sockets bound to the path (or its abstract twin "@path") in the
// text of /proc/net/unix.
std::vector<unsigned long> ListeningSocketInodes(const std::string& text, const std::string& path);
// The display number of a local display name such as ":1" or "unix:0.0"; -1 for a display on
// another host or a name that is not one.
int LocalDisplayNumber(const std::string& name);

// One process
bool ProcessExists(pid_t pid);
long TicksPerSecond();
// utime + stime in clock ticks.
long long CpuTicks(pid_t pid);
// The state letter of /proc/<pid>/stat: 'S' asleep, 'R' running or waiting for a processor.
char ProcessState(pid_t pid);
// A /proc/<pid>/status value such as "VmHWM" (kB) or "voluntary_ctxt_switches".
long long StatusField(pid_t pid, const std::string& name);
// Voluntary and forced context switches together: how often the process was woken.
long long ContextSwitches(pid_t pid);
// The CPU time of `ticks` spent over `seconds`, in percent of one processor.
double CpuPercent(long long ticks, double seconds);
// Waits (bounded) until the process is asleep and has not woken between two looks a period
// apart: it has done all it was given, such as drawing the window it has just mapped.
bool WaitUntilAsleep(pid_t pid, int timeoutMs, int periodMs = 20);
// The same for several processes at once: all asleep at the same look, none woken since the
// last. A process that has ended counts as asleep.
bool WaitUntilAllAsleep(const std::vector<pid_t>& pids, int timeoutMs, int periodMs = 20);
// Waits (bounded) until the process no longer exists, not even as a zombie.
bool WaitUntilGone(pid_t pid, int timeoutMs = 10000);
// The targets of the entries of /proc/<pid>/fd, such as "socket:[123]", "pipe:[45]" or a path.
std::vector<std::string> OpenDescriptors(pid_t pid);
int CountDescriptors(pid_t pid);

// The processes of the machine
struct ProcessEntry {
    pid_t pid = 0;
    StatFields stat;
};
std::vector<ProcessEntry> ProcessSnapshot();
struct ChildCount {
    int alive = 0;
    int zombies = 0;
};
ChildCount CountChildren(pid_t parent);
std::vector<pid_t> ChildrenOf(pid_t parent);
// The children of the process that have ended and that nobody has waited for.
std::vector<pid_t> ZombieChildrenOf(pid_t parent);
std::vector<pid_t> MembersOfGroup(pid_t group);
// The processes whose command line contains the text, such as a test's own folder.
std::vector<pid_t> ProcessesMentioning(const std::string& text);
// The process that listens on the local X server socket of the display number; 0 when there
// is none or it cannot be told.
pid_t FindXServer(int displayNumber);
// The processes that make up a display: its X server and every other process whose
// environment names it, such as its window manager and the programs shown on it; the caller
// aside. Another user's environment is readable only to root.
std::vector<pid_t> ProcessesOfDisplay(int displayNumber);
