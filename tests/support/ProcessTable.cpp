#include "support/ProcessTable.h"

#include <cstdlib>
#include <dirent.h>
#include <sstream>
#include <string>

#include "support/TempFolder.h"

std::vector<ProcessTable::Entry> ProcessTable::Snapshot() {
    std::vector<Entry> entries;
    DIR* proc = opendir("/proc");
    if (proc == nullptr) {
        return entries;
    }
    while (const dirent* item = readdir(proc)) {
        char* end = nullptr;
        const long number = std::strtol(item->d_name, &end, 10);
        if (end == item->d_name || *end != '\0') {
            continue;
        }
        // "pid (command) state ppid pgrp ...": the command may hold blanks and parentheses,
        // so the fields are counted from the last closing parenthesis. A process that ended
        // meanwhile has no file any more and is left out.
        const std::string stat = ReadRawFile("/proc/" + std::string(item->d_name) + "/stat");
        const size_t close = stat.rfind(')');
        if (close == std::string::npos) {
            continue;
        }
        std::istringstream fields(stat.substr(close + 1));
        Entry entry;
        long parent = 0;
        long group = 0;
        if (fields >> entry.state >> parent >> group) {
            entry.pid = static_cast<pid_t>(number);
            entry.parent = static_cast<pid_t>(parent);
            entry.group = static_cast<pid_t>(group);
            entries.push_back(entry);
        }
    }
    closedir(proc);
    return entries;
}

std::vector<pid_t> ProcessTable::ZombieChildrenOf(pid_t parent) {
    std::vector<pid_t> zombies;
    for (const Entry& entry : Snapshot()) {
        if (parent > 0 && entry.parent == parent && entry.state == 'Z') {
            zombies.push_back(entry.pid);
        }
    }
    return zombies;
}

std::vector<pid_t> ProcessTable::MembersOfGroup(pid_t group) {
    std::vector<pid_t> members;
    for (const Entry& entry : Snapshot()) {
        if (group > 0 && entry.group == group) {
            members.push_back(entry.pid);
        }
    }
    return members;
}
