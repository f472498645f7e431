#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include "support/TempFolder.h"
#include "util/FileUtils.h"
#include "util/TextFile.h"

namespace {

struct Outcome {
    int status = -1;
    std::string output;
};

Outcome RunProgram(const std::string& environment) {
    Outcome outcome;
    const std::string command = environment + " " + BRISGOLA_BINARY + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return outcome;
    }
    std::array<char, 256> buffer{};
    size_t got;
    while ((got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        outcome.output.append(buffer.data(), got);
    }
    const int status = pclose(pipe);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

} // namespace

TEST(Main, WithoutADisplayTheProgramSaysSoAndFails) {
    TempFolder dir{true};
    TextFile("log.txt").WriteLines({"stale line from an earlier run"});
    const Outcome outcome = RunProgram("env -u DISPLAY");
    EXPECT_NE(outcome.status, 0);
    EXPECT_EQ(outcome.output, "XOpenDisplay(0) failed.\n");
    EXPECT_EQ(TextFile("log.txt").ReadLines(),
              std::vector<std::string>{"XOpenDisplay(0) failed."});
}
