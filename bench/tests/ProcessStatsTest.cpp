#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "bench/ProcessStats.h"

namespace {

using Clock = std::chrono::steady_clock;

bool WaitUntil(const std::function<bool()>& condition) {
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (!condition()) {
        if (Clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

} // namespace

TEST(ProcessStats, StatFieldsCountFromTheLastParenthesisOfTheName) {
    // A command name may hold blanks and parentheses of its own.
    const std::string text = "4321 (a (b) c) S 99 4321 4321 0 -1 4194304 120 0 0 0 17 23 0 0 20 "
                             "0 1 0 5000 10000000 300\n";
    StatFields fields;
    ASSERT_TRUE(ParseStat(text, fields));
    EXPECT_EQ(fields.state, 'S');
    EXPECT_EQ(fields.ppid, 99);
    EXPECT_EQ(fields.utime, 17);
    EXPECT_EQ(fields.stime, 23);

    ASSERT_TRUE(ParseStat("7 (z) Z 1 7 7 0 -1 0 0 0 0 0 123456789012 5", fields));
    EXPECT_EQ(fields.state, 'Z');
    EXPECT_EQ(fields.utime, 123456789012);
}

TEST(ProcessStats, MalformedStatIsRejected) {
    const char* const texts[] = {
        "",
        "12 (no end",
        "12 (short) S 1 2 3",
        "12 (word) S x 1 1 0 -1 0 0 0 0 0 1 2",
        "12 (word) S 1 1 1 0 -1 0 0 0 0 0 1 2x",
        "12 (word) SS 1 1 1 0 -1 0 0 0 0 0 1 2",
    };
    for (const char* text : texts) {
        StatFields fields;
        EXPECT_FALSE(ParseStat(text, fields)) << text;
    }
}

TEST(ProcessStats, StatusValuesAreFoundByTheirWholeName) {
    const std::string text = "Name:\tbrisgola\nVmHWM:\t    5716 kB\nVmRSS:\t    5000 kB\n"
                             "voluntary_ctxt_switches:\t12\nnonvoluntary_ctxt_switches:\t3\n";
    EXPECT_EQ(StatusValue(text, "VmHWM"), 5716);
    EXPECT_EQ(StatusValue(text, "VmRSS"), 5000);
    EXPECT_EQ(StatusValue(text, "voluntary_ctxt_switches"), 12);
    EXPECT_EQ(StatusValue(text, "nonvoluntary_ctxt_switches"), 3);
    EXPECT_EQ(StatusValue(text, "VmRS"), -1);
    EXPECT_EQ(StatusValue(text, "VmSwap"), -1);
    EXPECT_EQ(StatusValue(text, "Name"), -1);
}

TEST(ProcessStats, ListeningXSocketsAreFoundUnderBothNames) {
    const std::string text =
        "Num       RefCount Protocol Flags    Type St Inode Path\n"
        "0000000000000001: 00000002 00000000 00010000 0001 01 452703 /tmp/.X11-unix/X1\n"
        "0000000000000002: 00000002 00000000 00010000 0001 01 452702 @/tmp/.X11-unix/X1\n"
        "0000000000000003: 00000003 00000000 00000000 0001 03 453922 @/tmp/.X11-unix/X1\n"
        "0000000000000004: 00000002 00000000 00010000 0001 01 167549 /tmp/.X11-unix/X10\n"
        "0000000000000005: 00000002 00000000 00010000 0001 01 99\n"
        "garbage\n";
    const std::vector<unsigned long> inodes = ListeningSocketInodes(text, "/tmp/.X11-unix/X1");
    // The connected socket (flags 0) is a client's, and X10 is another display.
    EXPECT_EQ(inodes, (std::vector<unsigned long>{452703, 452702}));
    EXPECT_TRUE(ListeningSocketInodes(text, "/tmp/.X11-unix/X2").empty());
}

TEST(ProcessStats, LocalDisplayNumbers) {
    const std::pair<const char*, int> cases[] = {
        {":0", 0}, {":1.0", 1}, {"unix:12", 12}, {"localhost:3.1", 3}, {"host:0", -1},
        {"", -1},  {":", -1},   {":x", -1},      {":1x", -1},          {"10.0.0.1:0", -1},
    };
    for (const auto& [name, number] : cases) {
        EXPECT_EQ(LocalDisplayNumber(name), number) << name;
    }
}

TEST(ProcessStats, DescriptorsFollowOpenAndClose) {
    const int before = CountDescriptors(getpid());
    ASSERT_GT(before, 0);
    const int first = open("/dev/null", O_RDONLY | O_CLOEXEC);
    const int second = open("/dev/null", O_RDONLY | O_CLOEXEC);
    EXPECT_EQ(CountDescriptors(getpid()), before + 2);
    close(first);
    close(second);
    EXPECT_EQ(CountDescriptors(getpid()), before);
}

TEST(ProcessStats, EndedChildIsAZombieUntilReaped) {
    EXPECT_EQ(CountChildren(getpid()).zombies, 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        _exit(0);
    }
    EXPECT_TRUE(WaitUntil([] { return CountChildren(getpid()).zombies == 1; }));
    EXPECT_EQ(CountChildren(getpid()).alive, 0);
    ASSERT_EQ(waitpid(child, nullptr, 0), child);
    EXPECT_EQ(CountChildren(getpid()).zombies, 0);
}

TEST(ProcessStats, RunningChildIsCountedAlive) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        pause();
        _exit(0);
    }
    const ChildCount count = CountChildren(getpid());
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    EXPECT_EQ(count.alive, 1);
    EXPECT_EQ(count.zombies, 0);
}

TEST(ProcessStats, OwnCpuTimeGrowsWhileWorking) {
    const long long start = CpuTicks(getpid());
    ASSERT_GE(start, 0);
    volatile unsigned long sink = 0;
    EXPECT_TRUE(WaitUntil([&] {
        for (int i = 0; i < 1000000; ++i) {
            sink = sink + static_cast<unsigned long>(i);
        }
        return CpuTicks(getpid()) > start;
    }));
    EXPECT_GT(StatusField(getpid(), "VmRSS"), 0);
    EXPECT_GT(TicksPerSecond(), 0);
}

TEST(ProcessStats, ProcessThatIsGoneReadsAsMinusOne) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        _exit(0);
    }
    ASSERT_EQ(waitpid(child, nullptr, 0), child);
    EXPECT_EQ(CpuTicks(child), -1);
    EXPECT_EQ(StatusField(child, "VmRSS"), -1);
    EXPECT_EQ(CountDescriptors(child), -1);
}
