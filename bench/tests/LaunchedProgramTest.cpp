#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "bench/LaunchedProgram.h"
#include "bench/ProcessStats.h"
#include "support/TempFolder.h"

namespace {

std::string WriteScript(const std::string& folder, const std::string& name,
                        const std::string& body) {
    const std::string path = folder + "/" + name;
    std::ofstream script(path, std::ios::trunc);
    script << "#!/bin/sh\n" << body << "\n";
    script.close();
    chmod(path.c_str(), 0755);
    return path;
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string CommandOf(pid_t pid) {
    std::string name = ReadFile("/proc/" + std::to_string(pid) + "/comm");
    if (!name.empty() && name.back() == '\n') {
        name.pop_back();
    }
    return name;
}

bool WaitFor(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

} // namespace

TEST(LaunchedProgram, ExitCodeIsReported) {
    TempFolder dir{true};
    LaunchedProgram program;
    ASSERT_TRUE(
        program.Start(WriteScript(dir.Path(), "three", "exit 3"), dir.Path(), dir.Path() + "/log"));
    EXPECT_EQ(program.ExitStatus(), -1);
    ASSERT_TRUE(program.WaitForExit(5000));
    EXPECT_FALSE(program.IsRunning());
    EXPECT_EQ(program.ExitStatus(), 3);
}

TEST(LaunchedProgram, TerminateStopsARunningProgram) {
    TempFolder dir{true};
    LaunchedProgram program;
    ASSERT_TRUE(program.Start(WriteScript(dir.Path(), "sleeper", "exec sleep 30"), dir.Path(),
                              dir.Path() + "/log"));
    EXPECT_TRUE(program.IsRunning());
    EXPECT_FALSE(program.WaitForExit(20));
    program.Terminate();
    EXPECT_FALSE(program.IsRunning());
    EXPECT_EQ(program.ExitStatus(), 128 + SIGTERM);
}

TEST(LaunchedProgram, RelativeProgramNameIsTheCallersNotTheFolders) {
    TempFolder dir{true}; // the test runs in it
    ASSERT_EQ(mkdir("work", 0755), 0);
    WriteScript(dir.Path(), "five", "exit 5");
    LaunchedProgram program;
    ASSERT_TRUE(program.Start("./five", "work", "log"));
    ASSERT_TRUE(program.WaitForExit(5000));
    EXPECT_EQ(program.ExitStatus(), 5);
}

TEST(LaunchedProgram, MissingProgramEndsAsExecFailure) {
    TempFolder dir{true};
    LaunchedProgram program;
    ASSERT_TRUE(program.Start(dir.Path() + "/absent", dir.Path(), dir.Path() + "/log"));
    ASSERT_TRUE(program.WaitForExit(5000));
    EXPECT_EQ(program.ExitStatus(), 127);
}

TEST(LaunchedProgram, UnwritableLogIsRefusedBeforeAnyFork) {
    TempFolder dir{true};
    LaunchedProgram program;
    EXPECT_FALSE(program.Start(WriteScript(dir.Path(), "true", "exit 0"), dir.Path(),
                               dir.Path() + "/no/such/folder/log"));
    EXPECT_FALSE(program.Error().empty());
    EXPECT_FALSE(program.IsRunning());
}

TEST(LaunchedProgram, ProgramRunsInItsFolderWithOnlyTheStandardDescriptors) {
    TempFolder dir{true};
    const std::string folder = dir.Path() + "/work";
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    // Left open on purpose without close-on-exec: the program must not get it all the same.
    const int stray = open("/dev/null", O_RDONLY);
    ASSERT_GE(stray, 0);
    LaunchedProgram program;
    const bool started =
        program.Start(WriteScript(dir.Path(), "probe", "pwd\necho to-log >&2\nexec sleep 30"),
                      folder, dir.Path() + "/log");
    close(stray);
    ASSERT_TRUE(started);
    const pid_t pid = program.Pid();
    ASSERT_TRUE(WaitFor([&] { return CommandOf(pid) == "sleep"; }));
    // While sleep starts, its loader holds a library open for a moment; a descriptor leaked
    // from the launcher would stay for good.
    EXPECT_TRUE(WaitFor([&] { return CountDescriptors(pid) == 3; }))
        << CountDescriptors(pid) << " descriptors";
    program.Terminate();
    EXPECT_EQ(ReadFile(dir.Path() + "/log"), folder + "\nto-log\n");
}
