#include "util/ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
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
    TempFolder folder{true};
    StandIns holder{folder.Path()};
};

} // namespace

TEST_F(ChildProcessTest, QuotedArgumentsReachTheProgramUnchangedAndOnlyStatusZeroSucceeds) {
    const std::pair<std::string, std::string> quotes[] = {
        {"a-b+c,d:e=f@g%h_i.J9", "a-b+c,d:e=f@g%h_i.J9"},
        {"", "''"},
        {std::string("cut\0; rm -rf x", 14), "cut"}};
    for (const auto& [argument, quoted] : quotes) {
        EXPECT_EQ(ShellQuote(argument), quoted) << argument;
    }
    ASSERT_EQ(mkdir("canary", 0777), 0);
    for (const std::string argument :
         {"x;rm -rf canary;.wav 'quote'", "$(touch pwned) `touch pwned`", "a|b&c>pwned<d.wav *",
          "back\\slash \"double\"\nline", "-n"}) {
        ASSERT_TRUE(RunCommand("printf '%s' " + ShellQuote(argument), "> out")) << argument;
        EXPECT_EQ(ReadWholeFile("out"), argument);
    }
    EXPECT_EQ(access("canary", F_OK), 0) << "a quoted name ran a command";
    EXPECT_NE(access("pwned", F_OK), 0) << "a quoted name ran a command";
    EXPECT_TRUE(RunCommand("test", "a = a"));
    EXPECT_FALSE(RunCommand("test", "a = b"));
    EXPECT_FALSE(RunCommand("brisgola-no-such-program", "x"));
}

TEST_F(ChildProcessTest, StartedChildRunsItsCommandAndIsReapedWithoutAnyWait) {
    const pid_t pid = StartShellChild("echo ran > out");
    ASSERT_GT(pid, 0);
    // Nobody asks about the child: only the signal handler can make its zombie disappear.
    EXPECT_TRUE(WaitUntilGone(pid));
    EXPECT_EQ(ReadWholeFile("out"), "ran\n");
    EXPECT_FALSE(IsChildRunning(pid));
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
    ASSERT_TRUE(WaitUntil(
        [&] { return ZombieChildrenOf(getpid()).size() == 1 || !ProcessExists(own); }, 10000));
    for (int i = 0; i < 3; ++i) {
        const pid_t quick = StartShellChild("true");
        ASSERT_GT(quick, 0);
        ASSERT_TRUE(WaitUntilGone(quick));
        // system() waits for its own shell while children of the module end around it.
        EXPECT_FALSE(RunCommand("exit", "4"));
    }
    int status = 0;
    ASSERT_EQ(waitpid(own, &status, WNOHANG), own) << "the handler took somebody else's child";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 42);
    EXPECT_TRUE(IsChildRunning(held));
}

TEST_F(ChildProcessTest, ChildHoldsNothingOfTheProgramsAndIsSignalledOnlyWhileItRuns) {
    for (const pid_t foreign : {pid_t{0}, pid_t{-1}, getpid(), pid_t{1}}) {
        EXPECT_FALSE(IsChildRunning(foreign) || SignalChild(foreign, 0)) << foreign;
    }
    // Every descriptor the program opens is close-on-exec; those this process inherited from
    // the test runner are made so too.
    for (int fd = 3; fd < 1024; ++fd) {
        fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    // The program's own standard input is a pipe here, so a child that inherited it would
    // show it; under a test runner it may be /dev/null already, which would hide that.
    int input[2];
    ASSERT_EQ(pipe2(input, O_CLOEXEC), 0);
    const int ownInput = fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 3);
    ASSERT_EQ(dup2(input[0], STDIN_FILENO), STDIN_FILENO);
    // The shell says it is running its command, its libraries loaded and closed, by making a
    // folder with a program of its own, which leaves the shell's descriptors as they are.
    const pid_t held = StartShellChild("mkdir ready; " + holder.HeldCommand());
    dup2(ownInput, STDIN_FILENO);
    for (const int fd : {ownInput, input[0], input[1]}) {
        close(fd);
    }
    ASSERT_GT(held, 0);
    EXPECT_TRUE(IsChildRunning(held));
    ASSERT_TRUE(WaitUntil([] { return access("ready", F_OK) == 0; }, 10000));
    // Not the program's descriptors, and none of its input or output: what the shell says
    // never reaches the program's standard error.
    EXPECT_EQ(OpenDescriptors(held), std::vector<std::string>(3, "/dev/null"));
    EXPECT_TRUE(SignalChild(held, SIGTERM));
    EXPECT_TRUE(WaitUntilGone(held));
    // Once reaped, the pid may belong to anybody: it is never signalled again.
    EXPECT_FALSE(IsChildRunning(held) || SignalChild(held, SIGTERM));
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
    EXPECT_TRUE(IsChildRunning(held.front()) && IsChildRunning(held.back()));
    holder.Release();
    ASSERT_TRUE(WaitUntil([] { return ChildrenOf(getpid()).empty(); }, 30000));
    ASSERT_GT(StartShellChild("touch started-later"), 0);
    EXPECT_TRUE(WaitUntil([] { return access("started-later", F_OK) == 0; }, 10000));
    EXPECT_NE(access("started-anyway", F_OK), 0);
}
