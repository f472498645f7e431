#include "util/ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "support/StandIns.h"
#include "support/TempFolder.h"
#include "tools/harness/ProcReader.h"
#include "tools/harness/WaitUntil.h"
#include "tools/harness/WholeFile.h"

namespace {

// A working folder of its own, and commands that hold until released.
class ChildProcessTest : public ::testing::Test {
protected:
    bool Gone(pid_t pid) { return WaitUntil([pid] { return !ProcessExists(pid); }, 10000); }
    size_t Zombies() { return ZombieChildrenOf(getpid()).size(); }

    TempFolder folder{true};
    StandIns holder{folder.Path()};
};

} // namespace

TEST_F(ChildProcessTest, RunCommandAnswersTrueOnlyForExitStatusZero) {
    struct Case {
        const char* program;
        const char* arguments;
        bool succeeds;
    };
    const Case cases[] = {
        {"true", "", true},
        {"false", "", false},
        {"exit", "3", false},
        {"sh", "-c 'exit 0'", true},
        {"test", "a = a", true},
        {"test", "a = b", false},
        {"brisgola-no-such-program", "x", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RunCommand(c.program, c.arguments), c.succeeds)
            << c.program << " " << c.arguments;
    }
}

TEST_F(ChildProcessTest, ShellQuoteLeavesPlainNamesAloneAndQuotesTheRest) {
    struct Case {
        std::string argument;
        std::string quoted;
    };
    const Case cases[] = {
        {"Data/beep.wav", "Data/beep.wav"},
        {"a-b+c,d:e=f@g%h_i.J9", "a-b+c,d:e=f@g%h_i.J9"},
        {"", "''"},
        {"with blank.wav", "'with blank.wav'"},
        {"it's.wav", "'it'\\''s.wav'"},
        {"~/x", "'~/x'"},
        {"*.wav", "'*.wav'"},
        {"$HOME", "'$HOME'"},
        {std::string("cut\0; rm -rf x", 14), "cut"},
        {std::string("\0tail", 5), "''"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShellQuote(c.argument), c.quoted) << c.argument;
    }
}

TEST_F(ChildProcessTest, QuotedArgumentsReachTheProgramUnchanged) {
    ASSERT_EQ(mkdir("canary", 0777), 0);
    const std::string arguments[] = {
        "plain.wav",
        "with blank and 'quote'.wav",
        "x;rm -rf canary;.wav",
        "$(touch pwned).wav",
        "`touch pwned`.wav",
        "a|b&c>pwned<d.wav",
        "*",
        "back\\slash \"double\" 'single'",
        "new\nline\ttab",
        "-n",
    };
    for (const std::string& argument : arguments) {
        std::remove("out");
        ASSERT_TRUE(RunCommand("printf '%s' " + ShellQuote(argument), "> out")) << argument;
        EXPECT_EQ(ReadWholeFile("out"), argument);
    }
    EXPECT_EQ(access("canary", F_OK), 0) << "a quoted name ran a command";
    EXPECT_NE(access("pwned", F_OK), 0) << "a quoted name ran a command";
}

TEST_F(ChildProcessTest, StartedChildRunsItsCommandAndIsReapedWithoutAnyWait) {
    const pid_t pid = StartShellChild("echo ran > out");
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(WaitUntil([] { return ReadWholeFile("out") == "ran\n"; }, 10000));
    // Nobody asks about the child: only the signal handler can make its zombie disappear.
    EXPECT_TRUE(Gone(pid));
    EXPECT_FALSE(IsChildRunning(pid));
    EXPECT_EQ(Zombies(), 0u);
}

TEST_F(ChildProcessTest, ChildDoesNotFlushTheParentsBufferedOutput) {
    FILE* file = std::fopen("buffered.txt", "we");
    ASSERT_NE(file, nullptr);
    std::fputs("written once by the parent\n", file);
    const pid_t pid = StartShellChild("true");
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(Gone(pid));
    std::fclose(file);
    EXPECT_EQ(ReadWholeFile("buffered.txt"), "written once by the parent\n");
}

TEST_F(ChildProcessTest, ReapingLeavesOtherChildrenToWhoeverStartedThem) {
    // A child of the module stays in the table, so every SIGCHLD makes the handler wait for it.
    const pid_t held = StartShellChild(holder.HeldCommand());
    ASSERT_GT(held, 0);
    const pid_t own = fork();
    if (own == 0) {
        _exit(42);
    }
    ASSERT_GT(own, 0);
    EXPECT_FALSE(IsChildRunning(own));
    EXPECT_FALSE(SignalChild(own, SIGTERM));

    // Wait until the own child has ended, then let module children end after it, so the
    // handler runs at least once while the own child's status is waiting to be collected.
    ASSERT_TRUE(WaitUntil([&] { return Zombies() == 1 || !ProcessExists(own); }, 10000));
    for (int i = 0; i < 3; ++i) {
        const pid_t quick = StartShellChild("true");
        ASSERT_GT(quick, 0);
        ASSERT_TRUE(Gone(quick));
    }
    int status = 0;
    ASSERT_EQ(waitpid(own, &status, WNOHANG), own) << "the handler took somebody else's child";
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 42);
    EXPECT_TRUE(IsChildRunning(held));

    // system() waits for its own shell while children of the module end around it.
    for (int i = 0; i < 5; ++i) {
        ASSERT_GT(StartShellChild("true"), 0);
        EXPECT_TRUE(RunCommand("sleep", "0.05"));
        EXPECT_FALSE(RunCommand("exit", "4"));
    }
}

TEST_F(ChildProcessTest, SignalReachesOnlyRunningChildrenStartedHere) {
    for (const pid_t foreign : {pid_t{0}, pid_t{-1}, getpid(), pid_t{1}}) {
        EXPECT_FALSE(IsChildRunning(foreign)) << foreign;
        EXPECT_FALSE(SignalChild(foreign, 0)) << foreign;
    }

    const pid_t held = StartShellChild(holder.HeldCommand());
    ASSERT_GT(held, 0);
    EXPECT_TRUE(IsChildRunning(held));
    EXPECT_TRUE(SignalChild(held, SIGTERM));
    EXPECT_TRUE(Gone(held));
    EXPECT_FALSE(IsChildRunning(held));
    // Once reaped, the pid may belong to anybody: it is never signalled again.
    EXPECT_FALSE(SignalChild(held, SIGTERM));

    const pid_t quick = StartShellChild("true");
    ASSERT_GT(quick, 0);
    EXPECT_TRUE(WaitUntil([quick] { return !IsChildRunning(quick); }, 10000));
    EXPECT_FALSE(SignalChild(quick, SIGTERM));
}

TEST_F(ChildProcessTest, FullTableRefusesNewChildrenUntilSomeEnd) {
    std::vector<pid_t> held;
    for (int i = 0; i < kMaxShellChildren; ++i) {
        held.push_back(StartShellChild(holder.HeldCommand()));
        ASSERT_GT(held.back(), 0) << "child " << i;
    }
    errno = 0;
    EXPECT_EQ(StartShellChild("touch started-anyway"), -1);
    EXPECT_EQ(errno, EAGAIN);
    for (const pid_t pid : held) {
        EXPECT_TRUE(IsChildRunning(pid));
    }

    holder.Release();
    ASSERT_TRUE(WaitUntil([] { return ChildrenOf(getpid()).empty(); }, 30000));
    const pid_t later = StartShellChild("touch started-later");
    ASSERT_GT(later, 0);
    EXPECT_TRUE(WaitUntil([] { return access("started-later", F_OK) == 0; }, 10000));
    EXPECT_NE(access("started-anyway", F_OK), 0);
}

TEST_F(ChildProcessTest, RepeatingChildRunsUntilItsCommandFails) {
    // Each run adds a line; the third run fails and ends the loop.
    const pid_t pid = StartShellChild("echo run >> runs; test $(wc -l < runs) -lt 3", true);
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(Gone(pid));
    EXPECT_EQ(ReadWholeFile("runs"), "run\nrun\nrun\n");
}
