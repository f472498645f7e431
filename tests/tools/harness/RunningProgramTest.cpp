#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>

#include "support/TempFolder.h"
#include "tools/harness/ProcReader.h"
#include "tools/harness/RunningProgram.h"
#include "tools/harness/WaitUntil.h"

TEST(RunningProgram, ReportsHowTheProgramEndedAndEverythingItPrinted) {
    setenv("HARNESS_KEPT", "kept", 1);
    setenv("HARNESS_GONE", "gone", 1);
    setenv("HARNESS_SET", "old", 1);
    // Left open without close-on-exec on purpose: the program must not get it all the same.
    const int stray = open("/dev/null", O_RDONLY);
    ASSERT_GE(stray, 0);
    // command, environment changes, what it printed, its status
    using Words = std::vector<std::string>;
    const std::tuple<Words, Words, std::string, int> cases[] = {
        {{"sh", "-c", "echo out; echo err >&2; exit 3"}, {}, "out\nerr\n", 3},
        {{"sh", "-c", "kill -USR1 $$"}, {}, "", 128 + SIGUSR1},
        {{"./absent"}, {}, "", 127},
        {{"sh", "-c", "env | grep ^HARNESS_ | sort"},
         {"HARNESS_GONE", "HARNESS_SET=new", "HARNESS_NEW=added"},
         "HARNESS_KEPT=kept\nHARNESS_NEW=added\nHARNESS_SET=new\n",
         0},
        {{"sh", "-c", "ls /proc/$$/fd"}, {}, "0\n1\n2\n", 0}};
    for (const auto& [command, environment, output, status] : cases) {
        const ProgramResult result = RunProgram(command, environment);
        EXPECT_EQ(std::tie(result.status, result.output), std::tie(status, output))
            << command.back();
    }
    close(stray);
    // Still running when the time is up: no status.
    EXPECT_EQ(RunProgram({"sleep", "30"}, {}, "", 200).status, -1);
}

TEST(RunningProgram, StopEndsTheProgramAndEverythingItStarted) {
    // Orphans of the group come to this test, which reaps them: what remains still runs.
    ASSERT_EQ(prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    // A program that ignores SIGTERM passes the ignoring on to what it starts.
    const std::tuple<const char*, bool, int> cases[] = {
        {"sleep 30 & exec sleep 30", true, 128 + SIGTERM},
        {"trap '' TERM; sleep 30 & exec sleep 30", false, 128 + SIGKILL}};
    TempFolder dir;
    for (const auto& [script, gentle, status] : cases) {
        RunningProgram program;
        ASSERT_TRUE(program.Start({"sh", "-c", script}, {}, "", dir.File("output")));
        const pid_t group = program.Pid();
        EXPECT_FALSE(program.Start({"true"}, {}, "", dir.File("output"))) << "started twice";
        // Both sleeps under way.
        ASSERT_TRUE(WaitUntil([&] { return MembersOfGroup(group).size() == 2; }, 5000));
        EXPECT_EQ(program.Stop(500), gentle) << script;
        EXPECT_EQ(program.ExitStatus(), status) << script;
        const auto gone = [&] {
            while (waitpid(-group, nullptr, WNOHANG) > 0) {
            }
            return MembersOfGroup(group).empty();
        };
        EXPECT_TRUE(WaitUntil(gone, 5000)) << script;
    }

    // A caller that dies without stopping its program, as a crashed or killed test does,
    // takes the program with it.
    int link[2];
    ASSERT_EQ(pipe(link), 0);
    const pid_t caller = fork();
    if (caller == 0) {
        RunningProgram left;
        const pid_t started =
            left.Start({"sleep", "30"}, {}, "", dir.File("output")) ? left.Pid() : 0;
        _exit(write(link[1], &started, sizeof started) == sizeof started ? 0 : 1);
    }
    close(link[1]);
    pid_t started = 0;
    ASSERT_EQ(read(link[0], &started, sizeof started), ssize_t{sizeof started});
    close(link[0]);
    ASSERT_GT(started, 0);
    ASSERT_EQ(waitpid(caller, nullptr, 0), caller);
    // This test reaps it too, as the orphan's new parent.
    const bool ended = WaitUntil(
        [&] { return waitpid(started, nullptr, WNOHANG) == started || kill(started, 0) != 0; },
        5000);
    EXPECT_TRUE(ended) << "the program outlived its caller";
    if (!ended) {
        kill(started, SIGKILL);
    }
}
