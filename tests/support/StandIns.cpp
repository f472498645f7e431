#include "support/StandIns.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

#include "tools/harness/ProcReader.h"
#include "tools/harness/WaitUntil.h"
#include "tools/harness/WholeFile.h"

namespace {

const int kLetGoTimeoutMs = 5000;

std::string Quoted(const std::string& path) {
    return "'" + path + "'";
}

} // namespace

StandIns::StandIns(const std::string& folder) : folder(folder) {
    EXPECT_EQ(mkdir((folder + "/bin").c_str(), 0755), 0) << folder;
}

StandIns::~StandIns() {
    // Stand-ins and held commands outlive the children that started them; they are let go and
    // given a bounded moment to end, so none is left behind holding the test's output open.
    Release();
    WaitUntil([this] { return ProcessesMentioning(folder).empty(); }, kLetGoTimeoutMs);
    if (pathChanged) {
        setenv("PATH", previousPath.c_str(), 1);
    }
}

void StandIns::Install(const std::string& program, Ending ending) {
    // One printf writes the whole record, so calls at the same moment never mix. Each field
    // ends with a NUL, which no argument can hold; the count tells where the call ends.
    std::string script = "#!/bin/sh\n"
                         "printf '%s\\000' \"$(date +%s.%N)\" '" +
                         program + "' \"$#\" \"$@\" >> " + Quoted(folder + "/calls") + "\n";
    switch (ending) {
    case Ending::kSucceed:
        script += "exit 0\n";
        break;
    case Ending::kHoldUntilRelease:
        script += HeldCommand() + "\necho done >> " + Quoted(folder + "/finished") + "\n";
        break;
    case Ending::kListDescriptors:
        // The walk up stops at the first process that is not a shell: the program that
        // started the command, whose own descriptors are the ones that must not leak here.
        script += "shell=$(readlink /proc/$$/exe)\n"
                  "pid=$$\n"
                  "while [ \"$(readlink /proc/$pid/exe)\" = \"$shell\" ]; do\n"
                  "    for fd in /proc/$pid/fd/*; do readlink \"$fd\"; done\n"
                  "    while read -r key value; do\n"
                  "        [ \"$key\" = PPid: ] && parent=$value\n"
                  "    done < /proc/$pid/status\n"
                  "    pid=$parent\n"
                  "done >> " +
                  Quoted(folder + "/descriptors") + "\n";
        break;
    }
    const std::string path = folder + "/bin/" + program;
    ASSERT_TRUE(WriteWholeFile(path, script)) << path;
    ASSERT_EQ(chmod(path.c_str(), 0755), 0) << path;
}

std::string StandIns::PathSetting() const {
    const char* path = std::getenv("PATH");
    return "PATH=" + folder + "/bin:" + (path != nullptr ? path : "/usr/bin:/bin");
}

void StandIns::PutFirstOnPath() {
    const char* path = std::getenv("PATH");
    previousPath = path != nullptr ? path : "/usr/bin:/bin";
    pathChanged = true;
    setenv("PATH", PathSetting().substr(5).c_str(), 1);
}

void StandIns::Release() {
    WriteWholeFile(folder + "/release", "go\n");
}

std::string StandIns::HeldCommand() const {
    // The folder test keeps a command that missed its release from waiting for ever.
    return "while [ ! -e " + Quoted(folder + "/release") + " ] && [ -d " + Quoted(folder) +
           " ]; do sleep 0.05; done";
}

std::vector<StandIns::Call> StandIns::Calls() const {
    std::istringstream record(ReadWholeFile(folder + "/calls"));
    // A field counts once its NUL has been written.
    const auto field = [&record](std::string& text) {
        return std::getline(record, text, '\0') && !record.eof();
    };
    std::vector<Call> calls;
    for (std::string time, program, count; field(time) && field(program) && field(count);) {
        Call call{std::strtod(time.c_str(), nullptr), program, {}};
        call.arguments.resize(std::strtoul(count.c_str(), nullptr, 10));
        for (std::string& argument : call.arguments) {
            if (!field(argument)) {
                ADD_FAILURE() << "a call of " << program << " was cut short";
                return calls;
            }
        }
        calls.push_back(call);
    }
    return calls;
}

int StandIns::FinishedCount() const {
    const std::string text = ReadWholeFile(folder + "/finished");
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

std::vector<std::string> StandIns::DescriptorsSeen() const {
    std::istringstream text(ReadWholeFile(folder + "/descriptors"));
    std::vector<std::string> targets;
    for (std::string line; std::getline(text, line);) {
        targets.push_back(line);
    }
    return targets;
}

bool StandIns::WaitForCalls(size_t count, int timeoutMs) const {
    return WaitUntil([&] { return Calls().size() >= count; }, timeoutMs);
}
