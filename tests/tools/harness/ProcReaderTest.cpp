#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>

#include "tools/harness/ProcReader.h"
#include "tools/harness/WaitUntil.h"
#include "tools/harness/WholeFile.h"

TEST(ProcReader, ParsesStatCountingFromTheLastParenthesisOfTheName) {
    const auto fieldsOf = [](const char* text) {
        StatFields fields;
        EXPECT_TRUE(ParseStat(text, fields)) << text;
        return std::make_tuple(fields.state, fields.parent, fields.group, fields.utime,
                               fields.stime);
    };
    // A command name may hold blanks and parentheses of its own.
    EXPECT_EQ(fieldsOf("4321 (a (b) c) S 99 4300 4321 0 -1 4194304 120 0 0 0 17 23 0 0 20 0 1"),
              std::make_tuple('S', 99, 4300, 17LL, 23LL));
    EXPECT_EQ(fieldsOf("7 (z) Z 1 7 7 0 -1 0 0 0 0 0 123456789012 5"),
              std::make_tuple('Z', 1, 7, 123456789012LL, 5LL));
    for (const char* text :
         {"", "12 (no end", "12 (short) S 1 2 3", "12 (w) S x 1 1 0 -1 0 0 0 0 0 1 2",
          "12 (w) S 1 x 1 0 -1 0 0 0 0 0 1 2", "12 (w) S 1 1 1 0 -1 0 0 0 0 0 1 2x",
          "12 (w) SS 1 1 1 0 -1 0 0 0 0 0 1 2"}) {
        StatFields fields;
        EXPECT_FALSE(ParseStat(text, fields)) << text;
    }
}

TEST(ProcReader, FindsStatusValuesByTheirWholeName) {
    const std::string text = "Name:\tbrisgola\nVmHWM:\t    5716 kB\n"
                             "nonvoluntary_ctxt_switches:\t3\nvoluntary_ctxt_switches:\t12\n";
    const std::pair<const char*, long long> cases[] = {{"VmHWM", 5716},
                                                       {"voluntary_ctxt_switches", 12},
                                                       {"VmHW", -1},
                                                       {"VmSwap", -1},
                                                       {"Name", -1}};
    for (const auto& [name, value] : cases) {
        EXPECT_EQ(StatusValue(text, name), value) << name;
    }
}

TEST(ProcReader, TellsTheListeningSocketOfALocalDisplayFromAllOthers) {
    const std::pair<const char*, int> names[] = {
        {":0", 0}, {":1.0", 1}, {"unix:12", 12}, {"localhost:3.1", 3}, {"host:0", -1},
        {"", -1},  {":", -1},   {":x", -1},      {":1x", -1},          {"10.0.0.1:0", -1}};
    for (const auto& [name, number] : names) {
        EXPECT_EQ(LocalDisplayNumber(name), number) << name;
    }
    const std::string text =
        "Num       RefCount Protocol Flags    Type St Inode Path\n"
        "0000000000000001: 00000002 00000000 00010000 0001 01 452703 /tmp/.X11-unix/X1\n"
        "0000000000000002: 00000002 00000000 00010000 0001 01 452702 @/tmp/.X11-unix/X1\n"
        "0000000000000003: 00000003 00000000 00000000 0001 03 453922 @/tmp/.X11-unix/X1\n"
        "0000000000000004: 00000002 00000000 00010000 0001 01 167549 /tmp/.X11-unix/X10\n"
        "0000000000000005: 00000002 00000000 00010000 0001 01 99\n"
        "garbage\n";
    // The connected socket (flags 0) is a client's, and X10 is another display.
    EXPECT_EQ(ListeningSocketInodes(text, "/tmp/.X11-unix/X1"),
              (std::vector<unsigned long>{452703, 452702}));
    EXPECT_TRUE(ListeningSocketInodes(text, "/tmp/.X11-unix/X2").empty());
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
    EXPECT_TRUE(ZombieChildrenOf(getpid()).empty());
    EXPECT_EQ(CountChildren(getpid()).alive, 1);
    EXPECT_GE(CpuTicks(child), 0);
    EXPECT_GT(StatusField(child, "VmRSS"), 0);
    EXPECT_EQ(OpenDescriptors(child).size(), static_cast<size_t>(CountDescriptors(child)));
    kill(child, SIGKILL);
    EXPECT_TRUE(WaitUntil([&] { return ZombieChildrenOf(getpid()) == std::vector{child}; }, 5000));
    EXPECT_EQ(CountChildren(getpid()).alive, 0);
    EXPECT_EQ(CountChildren(getpid()).zombies, 1);
    ASSERT_EQ(waitpid(child, nullptr, 0), child);
    EXPECT_TRUE(ChildrenOf(getpid()).empty());
    EXPECT_FALSE(ProcessExists(child));
    EXPECT_EQ(CpuTicks(child), -1);
    EXPECT_EQ(StatusField(child, "VmRSS"), -1);
    EXPECT_EQ(CountDescriptors(child), -1);
}
