#include "tools/harness/ProcReader.h"

#include <cctype>
#include <cstdlib>
#include <dirent.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "tools/harness/WaitUntil.h"
#include "tools/harness/WholeFile.h"

namespace {

// Flags of a listening socket in /proc/net/unix (__SO_ACCEPTCON).
const unsigned long kAcceptingConnections = 0x10000;
// Fields after the command name of /proc/<pid>/stat, up to stime.
const size_t kStatFieldsNeeded = 13;

std::string ProcPath(pid_t pid, const char* leaf) {
    return "/proc/" + std::to_string(pid) + "/" + leaf;
}

bool IsNumber(const char* name) {
    if (*name == '\0') {
        return false;
    }
    for (; *name != '\0'; ++name) {
        if (!std::isdigit(static_cast<unsigned char>(*name))) {
            return false;
        }
    }
    return true;
}

// The numeric entries of a /proc folder: process ids, or descriptor numbers.
std::vector<std::string> NumericEntries(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) {
        return names;
    }
    while (const dirent* entry = readdir(dir)) {
        if (IsNumber(entry->d_name)) {
            names.push_back(entry->d_name);
        }
    }
    closedir(dir);
    return names;
}

bool ParseNumber(const std::string& word, long long& number) {
    char* end = nullptr;
    number = std::strtoll(word.c_str(), &end, 10);
    return !word.empty() && *end == '\0';
}

} // namespace

bool ParseStat(const std::string& text, StatFields& fields) {
    const size_t nameEnd = text.rfind(')');
    if (nameEnd == std::string::npos) {
        return false;
    }
    std::istringstream rest(text.substr(nameEnd + 1));
    // After the name: state, ppid, pgrp, then ten fields up to utime and stime.
    std::vector<std::string> words;
    std::string word;
    while (words.size() < kStatFieldsNeeded && rest >> word) {
        words.push_back(word);
    }
    long long parent = 0;
    long long group = 0;
    long long utime = 0;
    long long stime = 0;
    if (words.size() < kStatFieldsNeeded || words[0].size() != 1 ||
        !ParseNumber(words[1], parent) || !ParseNumber(words[2], group) ||
        !ParseNumber(words[11], utime) || !ParseNumber(words[12], stime)) {
        return false;
    }
    fields.state = words[0][0];
    fields.parent = static_cast<pid_t>(parent);
    fields.group = static_cast<pid_t>(group);
    fields.utime = utime;
    fields.stime = stime;
    return true;
}

long long StatusValue(const std::string& text, const std::string& name) {
    std::istringstream lines(text);
    std::string line;
    const std::string key = name + ":";
    while (std::getline(lines, line)) {
        if (line.compare(0, key.size(), key) == 0) {
            std::istringstream value(line.substr(key.size()));
            long long number = -1;
            return value >> number ? number : -1;
        }
    }
    return -1;
}

std::vector<unsigned long> ListeningSocketInodes(const std::string& text, const std::string& path) {
    std::vector<unsigned long> inodes;
    std::istringstream lines(text);
    std::string line;
    std::getline(lines, line); // the column titles
    while (std::getline(lines, line)) {
        std::istringstream columns(line);
        std::string slot, references, protocol, flags, type, state;
        unsigned long inode = 0;
        std::string socketPath;
        if (!(columns >> slot >> references >> protocol >> flags >> type >> state >> inode >>
              socketPath)) {
            continue;
        }
        const unsigned long flagBits = std::strtoul(flags.c_str(), nullptr, 16);
        if ((flagBits & kAcceptingConnections) != 0 &&
            (socketPath == path || socketPath == "@" + path)) {
            inodes.push_back(inode);
        }
    }
    return inodes;
}

int LocalDisplayNumber(const std::string& name) {
    const size_t colon = name.rfind(':');
    if (colon == std::string::npos) {
        return -1;
    }
    const std::string host = name.substr(0, colon);
    if (!host.empty() && host != "unix" && host != "localhost") {
        return -1;
    }
    const std::string rest = name.substr(colon + 1);
    size_t digits = 0;
    while (digits < rest.size() && std::isdigit(static_cast<unsigned char>(rest[digits]))) {
        ++digits;
    }
    if (digits == 0 || digits > 6 || (digits < rest.size() && rest[digits] != '.')) {
        return -1;
    }
    return std::atoi(rest.substr(0, digits).c_str());
}

bool ProcessExists(pid_t pid) {
    struct stat info;
    return pid > 0 && stat(("/proc/" + std::to_string(pid)).c_str(), &info) == 0;
}

long TicksPerSecond() {
    const long ticks = sysconf(_SC_CLK_TCK);
    return ticks > 0 ? ticks : 100;
}

long long CpuTicks(pid_t pid) {
    StatFields fields;
    if (!ParseStat(ReadWholeFile(ProcPath(pid, "stat")), fields)) {
        return -1;
    }
    return fields.utime + fields.stime;
}

char ProcessState(pid_t pid) {
    StatFields fields;
    return ParseStat(ReadWholeFile(ProcPath(pid, "stat")), fields) ? fields.state : '?';
}

long long StatusField(pid_t pid, const std::string& name) {
    return StatusValue(ReadWholeFile(ProcPath(pid, "status")), name);
}

long long ContextSwitches(pid_t pid) {
    const long long voluntary = StatusField(pid, "voluntary_ctxt_switches");
    const long long forced = StatusField(pid, "nonvoluntary_ctxt_switches");
    return voluntary < 0 || forced < 0 ? -1 : voluntary + forced;
}

double CpuPercent(long long ticks, double seconds) {
    return 100.0 * static_cast<double>(ticks) / static_cast<double>(TicksPerSecond()) / seconds;
}

bool WaitUntilAsleep(pid_t pid, int timeoutMs, int periodMs) {
    return WaitUntilAllAsleep({pid}, timeoutMs, periodMs);
}

bool WaitUntilAllAsleep(const std::vector<pid_t>& pids, int timeoutMs, int periodMs) {
    std::vector<long long> switches(pids.size(), -1);
    return WaitUntil(
        [&] {
            bool asleep = true;
            for (size_t i = 0; i < pids.size(); ++i) {
                const long long before =
                    std::exchange(switches[i], StatusField(pids[i], "voluntary_ctxt_switches"));
                // A process that has ended has nothing left to do.
                asleep = asleep && (!ProcessExists(pids[i]) ||
                                    (ProcessState(pids[i]) == 'S' && before == switches[i]));
            }
            return asleep;
        },
        timeoutMs, periodMs);
}

bool WaitUntilGone(pid_t pid, int timeoutMs) {
    return WaitUntil([pid] { return !ProcessExists(pid); }, timeoutMs);
}

std::vector<std::string> OpenDescriptors(pid_t pid) {
    std::vector<std::string> targets;
    const std::string folder = ProcPath(pid, "fd");
    for (const std::string& number : NumericEntries(folder)) {
        char target[4096];
        const std::string link = folder + "/" + number;
        const ssize_t length = readlink(link.c_str(), target, sizeof target - 1);
        if (length > 0) {
            targets.emplace_back(target, static_cast<size_t>(length));
        }
    }
    return targets;
}

int CountDescriptors(pid_t pid) {
    struct stat info;
    if (stat(ProcPath(pid, "fd").c_str(), &info) != 0) {
        return -1;
    }
    return static_cast<int>(NumericEntries(ProcPath(pid, "fd")).size());
}

std::vector<ProcessEntry> ProcessSnapshot() {
    std::vector<ProcessEntry> entries;
    for (const std::string& name : NumericEntries("/proc")) {
        ProcessEntry entry;
        entry.pid = static_cast<pid_t>(std::atol(name.c_str()));
        // A process that ended meanwhile has no file any more and is left out.
        if (ParseStat(ReadWholeFile("/proc/" + name + "/stat"), entry.stat)) {
            entries.push_back(entry);
        }
    }
    return entries;
}

ChildCount CountChildren(pid_t parent) {
    ChildCount count;
    for (const ProcessEntry& entry : ProcessSnapshot()) {
        if (entry.stat.parent == parent) {
            ++(entry.stat.state == 'Z' ? count.zombies : count.alive);
        }
    }
    return count;
}

std::vector<pid_t> ChildrenOf(pid_t parent) {
    std::vector<pid_t> children;
    for (const ProcessEntry& entry : ProcessSnapshot()) {
        if (parent > 0 && entry.stat.parent == parent) {
            children.push_back(entry.pid);
        }
    }
    return children;
}

std::vector<pid_t> ZombieChildrenOf(pid_t parent) {
    std::vector<pid_t> zombies;
    for (const ProcessEntry& entry : ProcessSnapshot()) {
        if (parent > 0 && entry.stat.parent == parent && entry.stat.state == 'Z') {
            zombies.push_back(entry.pid);
        }
    }
    return zombies;
}

std::vector<pid_t> MembersOfGroup(pid_t group) {
    std::vector<pid_t> members;
    for (const ProcessEntry& entry : ProcessSnapshot()) {
        if (group > 0 && entry.stat.group == group) {
            members.push_back(entry.pid);
        }
    }
    return members;
}

std::vector<pid_t> ProcessesMentioning(const std::string& text) {
    std::vector<pid_t> found;
    for (const std::string& name : NumericEntries("/proc")) {
        if (ReadWholeFile("/proc/" + name + "/cmdline").find(text) != std::string::npos) {
            found.push_back(static_cast<pid_t>(std::atol(name.c_str())));
        }
    }
    return found;
}

std::vector<pid_t> ProcessesOfDisplay(int displayNumber) {
    std::vector<pid_t> found;
    if (const pid_t server = FindXServer(displayNumber)) {
        found.push_back(server);
    }
    const std::string display = "DISPLAY=:" + std::to_string(displayNumber);
    for (const std::string& name : NumericEntries("/proc")) {
        const pid_t pid = static_cast<pid_t>(std::atol(name.c_str()));
        if (pid == getpid()) {
            continue;
        }
        // The environment is a list of NUL-terminated settings.
        const std::string environment = '\0' + ReadWholeFile("/proc/" + name + "/environ");
        for (const std::string& setting : {display, display + ".0"}) {
            if (environment.find('\0' + setting + '\0') != std::string::npos) {
                found.push_back(pid);
                break;
            }
        }
    }
    return found;
}

pid_t FindXServer(int displayNumber) {
    if (displayNumber < 0) {
        return 0;
    }
    const std::vector<unsigned long> inodes = ListeningSocketInodes(
        ReadWholeFile("/proc/net/unix"), "/tmp/.X11-unix/X" + std::to_string(displayNumber));
    if (inodes.empty()) {
        return 0;
    }
    for (const std::string& name : NumericEntries("/proc")) {
        const pid_t pid = static_cast<pid_t>(std::atol(name.c_str()));
        for (const std::string& target : OpenDescriptors(pid)) {
            for (unsigned long inode : inodes) {
                if (target == "socket:[" + std::to_string(inode) + "]") {
                    return pid;
                }
            }
        }
    }
    return 0;
}
