#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>

#include "tools/harness/ProcReader.h"
#include "tools/harness/RunningProgram.h"
#include "tools/harness/WaitUntil.h"
#include "tools/harness/WholeFile.h"

TEST(ProcReader, ParsesStatCountingFromTheLastParenthesisOfTheName) {
    StatFields fields;
    // A command name may hold blanks and parentheses of its own.
    ASSERT_TRUE(ParseStat("4321 (a (b) c) S 99 4300 4321 0 -1 4194304 120 0 0 0 17 23 0", fields));
    EXPECT_EQ(
        std::make_tuple(fields.state, fields.parent, fields.group, fields.utime, fields.stime),
        std::make_tuple('S', 99, 4300, 17LL, 23LL));
    for (const char* text : {"12 (no end", "12 (w) S 1 1 1 0 -1 0 0 0 0 0 1 2x"}) {
        EXPECT_FALSE(ParseStat(text, fields)) << text;
    }
}

TEST(ProcReader, FindsStatusValuesAndTheListeningSocketOfALocalDisplay) {
    const std::string status = "Name:\tbrisgola\nVmHWM:\t    5716 kB\n"
                               "nonvoluntary_ctxt_switches:\t3\nvoluntary_ctxt_switches:\t12\n";
    const std::pair<const char*, long long> values[] = {
        {"VmHWM", 5716}, {"voluntary_ctxt_switches", 12}, {"VmHW", -1}, {"Name", -1}};
    for (const auto& [name, value] : values) {
        EXPECT_EQ(StatusValue(status, name), value) << name;
    }
    const std::pair<const char*, int> names[] = {
        {":1.0", 1}, {"unix:12", 12}, {"localhost:3.1", 3}, {"host:0", -1}, {":", -1}, {":1x", -1}};
    for (const auto& [name, number] : names) {
        EXPECT_EQ(LocalDisplayNumber(name), number) << name;
    }
    // The connected socket (flags 0) is a client's, and X10 is another display.
    const std::string sockets =
        "Num       RefCount Protocol Flags    Type St Inode Path\n"
        "0000000000000001: 00000002 00000000 00010000 0001 01 452703 /tmp/.X11-unix/X1\n"
        "0000000000000002: 00000002 00000000 00010000 0001 01 452702 @/tmp/.X11-unix/X1\n"
        "0000000000000003: 00000003 00000000 00000000 0001 03 453922 @/tmp/.X11-unix/X1\n"
        "0000000000000004: 00000002 00000000 00010000 0001 01 167549 /tmp/.X11-unix/X10\n"
        "garbage\n";
    EXPECT_EQ(ListeningSocketInodes(sockets, "/tmp/.X11-unix/X1"),
              (std::vector<unsigned long>{452703, 452702}));
}

TEST(ProcReader, FollowsAChildFromRunningThroughZombieToGone) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        pause();
        _exit(0);
    }
    const auto holdsChild = [child](const std::vector<pid_t>& pids) {
        return std::find(pids.begin(), pids.end(), child) != pids.end();
    };
    EXPECT_TRUE(holdsChild(MembersOfGroup(getpgrp())));
    // The child runs this very program.
    EXPECT_TRUE(holdsChild(ProcessesMentioning(ReadWholeFile("/proc/self/cmdline"))));
    EXPECT_EQ(ChildrenOf(getpid()), std::vector{child});
    EXPECT_TRUE(CountChildren(getpid()).alive == 1 && StatusField(child, "VmRSS") > 0);
    EXPECT_EQ(OpenDescriptors(child).size(), static_cast<size_t>(CountDescriptors(child)));
    kill(child, SIGKILL);
    EXPECT_TRUE(WaitUntil([&] { return ZombieChildrenOf(getpid()) == std::vector{child}; }, 5000));
    EXPECT_EQ(CountChildren(getpid()).zombies, 1);
    ASSERT_EQ(waitpid(child, nullptr, 0), child);
    EXPECT_TRUE(ChildrenOf(getpid()).empty() && !ProcessExists(child));
    EXPECT_EQ(
        std::make_tuple(CpuTicks(child), StatusField(child, "VmRSS"), CountDescriptors(child)),
        std::make_tuple(-1LL, -1LL, -1));
}

// A display's processes are those whose environment names it; they are asleep together only
// when every one of them is, and one that has ended has nothing left to do.
TEST(ProcReader, FindsTheProcessesOfADisplayAndWaitsUntilAllOfThemSleep) {
    RunningProgram sleeper;
    RunningProgram busy;
    ASSERT_TRUE(sleeper.Start({"sleep", "60"}, {"DISPLAY=:4242"}, ".", "/dev/null"));
    ASSERT_TRUE(
        busy.Start({"sh", "-c", "while :; do :; done"}, {"DISPLAY=:4242.0"}, ".", "/dev/null"));
    const std::vector<pid_t> both{std::min(sleeper.Pid(), busy.Pid()),
                                  std::max(sleeper.Pid(), busy.Pid())};
    std::vector<pid_t> found;
    // Until its exec a started program still has this program's environment.
    EXPECT_TRUE(WaitUntil(
        [&] {
            found = ProcessesOfDisplay(4242);
            std::sort(found.begin(), found.end());
            return found == both;
        },
        5000))
        << found.size() << " found";
    EXPECT_TRUE(ProcessesOfDisplay(424).empty());
    EXPECT_FALSE(WaitUntilAllAsleep({busy.Pid(), sleeper.Pid()}, 300));
    busy.Stop(1000);
    EXPECT_TRUE(WaitUntilAllAsleep({sleeper.Pid(), busy.Pid()}, 5000));
}
