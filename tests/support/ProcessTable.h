#pragma once

#include <sys/types.h>
#include <vector>

// The processes of the machine as /proc shows them at one moment, for tests that must prove
// a program reaped its children or left nothing running.
class ProcessTable {
public:
    struct Entry {
        pid_t pid = 0;
        char state = 0; // 'Z' for a zombie
        pid_t parent = 0;
        pid_t group = 0;
    };

    static std::vector<Entry> Snapshot();
    // The processes whose parent is the given one and that have ended unreaped.
    static std::vector<pid_t> ZombieChildrenOf(pid_t parent);
    // The processes still in the process group.
    static std::vector<pid_t> MembersOfGroup(pid_t group);
};
