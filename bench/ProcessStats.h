#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// Readings of another process from /proc: CPU time, memory, descriptors and children. Every
// reading answers -1 (or an empty value) when the process is gone or the file cannot be read.

// Parsing (the texts of /proc files)
struct StatFields {
    char state = '?';
    pid_t ppid = 0;
    long long utime = 0; // clock ticks
    long long stime = 0;
};
// The text of /proc/<pid>/stat. The command name may hold blanks and parentheses, so the
// fields are counted from its closing parenthesis.
bool ParseStat(const std::string& text, StatFields& fields);
// The number of a "Name:   value [kB]" line of /proc/<pid>/status, or -1.
long long StatusValue(const std::string& text, const std::string& name);
// The inodes of the listening sockets bound to the path (or its abstract twin "@path") in the
// text of /proc/net/unix.
std::vector<unsigned long> ListeningSocketInodes(const std::string& text, const std::string& path);
// The display number of a local display name such as ":1" or "unix:0.0"; -1 for a display on
// another host or a name that is not one.
int LocalDisplayNumber(const std::string& name);

// Readings
long TicksPerSecond();
// utime + stime in clock ticks.
long long CpuTicks(pid_t pid);
// A /proc/<pid>/status value such as "VmHWM" (kB) or "voluntary_ctxt_switches".
long long StatusField(pid_t pid, const std::string& name);
// Entries of /proc/<pid>/fd.
int CountDescriptors(pid_t pid);

struct ChildCount {
    int alive = 0;
    int zombies = 0;
};
ChildCount CountChildren(pid_t pid);

// The process that listens on the local X server socket of the display number; 0 when there
// is none or it cannot be told.
pid_t FindXServer(int displayNumber);
