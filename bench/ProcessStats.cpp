#include "bench/ProcessStats.h"

#include <cctype>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

// Flags of a listening socket in /proc/net/unix (__SO_ACCEPTCON).
const unsigned long kAcceptingConnections = 0x10000;

std::string ReadFile(const std::string& path) {
    std::ifstream file(path);
    if (!file) {
        return {};
    }
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

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

// The process ids in /proc.
std::vector<pid_t> AllProcesses() {
    std::vector<pid_t> pids;
    DIR* proc = opendir("/proc");
    if (proc == nullptr) {
        return pids;
    }
    while (const dirent* entry = readdir(proc)) {
        if (IsNumber(entry->d_name)) {
            pids.push_back(static_cast<pid_t>(std::atol(entry->d_name)));
        }
    }
    closedir(proc);
    return pids;
}

bool HoldsSocket(pid_t pid, const std::vector<std::string>& links) {
    const std::string folder = ProcPath(pid, "fd");
    DIR* fds = opendir(folder.c_str());
    if (fds == nullptr) {
        return false;
    }
    bool found = false;
    while (const dirent* entry = readdir(fds)) {
        if (!IsNumber(entry->d_name)) {
            continue;
        }
        char target[64];
        const std::string link = folder + "/" + entry->d_name;
        const ssize_t length = readlink(link.c_str(), target, sizeof target - 1);
        if (length <= 0) {
            continue;
        }
        target[length] = '\0';
        for (const std::string& wanted : links) {
            found = found || wanted == target;
        }
        if (found) {
            break;
        }
    }
    closedir(fds);
    return found;
}

} // namespace

bool ParseStat(const std::string& text, StatFields& fields) {
    const size_t nameEnd = text.rfind(')');
    if (nameEnd == std::string::npos) {
        return false;
    }
    std::istringstream rest(text.substr(nameEnd + 1));
    // After the name: state, ppid, then eleven fields up to utime and stime.
    std::vector<std::string> words;
    std::string word;
    while (words.size() < 13 && rest >> word) {
        words.push_back(word);
    }
    if (words.size() < 13 || words[0].size() != 1) {
        return false;
    }
    char* end = nullptr;
    const long ppid = std::strtol(words[1].c_str(), &end, 10);
    if (*end != '\0') {
        return false;
    }
    const long long utime = std::strtoll(words[11].c_str(), &end, 10);
    if (*end != '\0') {
        return false;
    }
    const long long stime = std::strtoll(words[12].c_str(), &end, 10);
    if (*end != '\0') {
        return false;
    }
    fields.state = words[0][0];
    fields.ppid = static_cast<pid_t>(ppid);
    fields.utime = utime;
    fields.stime = stime;
    return true;
}

long long StatusValue(const std::string& text, const std::string& name) {
    std::istringstream lines(text);
    std::string line;
    const std::string key = name + ":";
    while (std::getline(lines, line)) {
        if (line.compare(0, key.size(), key) != 0) {
            continue;
        }
        std::istringstream value(line.substr(key.size()));
        long long number = -1;
        if (value >> number) {
            return number;
        }
        return -1;
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

long TicksPerSecond() {
    const long ticks = sysconf(_SC_CLK_TCK);
    return ticks > 0 ? ticks : 100;
}

long long CpuTicks(pid_t pid) {
    StatFields fields;
    if (!ParseStat(ReadFile(ProcPath(pid, "stat")), fields)) {
        return -1;
    }
    return fields.utime + fields.stime;
}

long long StatusField(pid_t pid, const std::string& name) {
    return StatusValue(ReadFile(ProcPath(pid, "status")), name);
}

int CountDescriptors(pid_t pid) {
    const std::string folder = ProcPath(pid, "fd");
    DIR* fds = opendir(folder.c_str());
    if (fds == nullptr) {
        return -1;
    }
    int count = 0;
    while (const dirent* entry = readdir(fds)) {
        if (IsNumber(entry->d_name)) {
            ++count;
        }
    }
    closedir(fds);
    return count;
}

ChildCount CountChildren(pid_t pid) {
    ChildCount count;
    for (pid_t candidate : AllProcesses()) {
        StatFields fields;
        if (!ParseStat(ReadFile(ProcPath(candidate, "stat")), fields) || fields.ppid != pid) {
            continue;
        }
        if (fields.state == 'Z') {
            ++count.zombies;
        } else {
            ++count.alive;
        }
    }
    return count;
}

pid_t FindXServer(int displayNumber) {
    if (displayNumber < 0) {
        return 0;
    }
    const std::vector<unsigned long> inodes = ListeningSocketInodes(
        ReadFile("/proc/net/unix"), "/tmp/.X11-unix/X" + std::to_string(displayNumber));
    if (inodes.empty()) {
        return 0;
    }
    std::vector<std::string> links;
    for (unsigned long inode : inodes) {
        links.push_back("socket:[" + std::to_string(inode) + "]");
    }
    for (pid_t pid : AllProcesses()) {
        if (HoldsSocket(pid, links)) {
            return pid;
        }
    }
    return 0;
}
