#include "game/ShellSandbox.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <ftw.h>
#include <sstream>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

const char* const kRecordFile = "player-calls.txt";
const char* const kFinishedFile = "player-finished.txt";
const char* const kReleaseFile = "release";
const char* const kCallSeparator = "----";

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) {
    return remove(path);
}

void SleepMs(int ms) {
    struct timespec pause = {ms / 1000, (ms % 1000) * 1000000L};
    nanosleep(&pause, nullptr);
}

// Reads one "Key:\tvalue" field of /proc/<pid>/status; empty when the process is gone.
std::string StatusField(const std::string& pid, const std::string& key) {
    std::ifstream status("/proc/" + pid + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, key.size() + 1, key + ":") == 0) {
            const size_t start = line.find_first_not_of(" \t", key.size() + 1);
            return start == std::string::npos ? "" : line.substr(start);
        }
    }
    return "";
}

// Calls visit(pid, state) for every process whose parent is this one.
void ForEachChild(const std::function<void(pid_t, const std::string&)>& visit) {
    const std::string self = std::to_string(getpid());
    DIR* proc = opendir("/proc");
    if (proc == nullptr) {
        ADD_FAILURE() << "cannot list /proc";
        return;
    }
    while (const struct dirent* entry = readdir(proc)) {
        const std::string name = entry->d_name;
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        if (StatusField(name, "PPid") == self) {
            visit(static_cast<pid_t>(std::stol(name)), StatusField(name, "State"));
        }
    }
    closedir(proc);
}

// True when some process's command line contains the text, such as a sandbox's folder.
bool AnyProcessMentions(const std::string& text) {
    DIR* proc = opendir("/proc");
    if (proc == nullptr) {
        return false;
    }
    bool found = false;
    while (const struct dirent* entry = readdir(proc)) {
        const std::string name = entry->d_name;
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        if (ReadWholeFile("/proc/" + name + "/cmdline").find(text) != std::string::npos) {
            found = true;
            break;
        }
    }
    closedir(proc);
    return found;
}

} // namespace

ShellSandbox::ShellSandbox() {
    char pattern[] = "/tmp/brisgola-sound-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (made == nullptr) {
        ADD_FAILURE() << "mkdtemp failed";
        return;
    }
    folder = made;
    char* current = getcwd(nullptr, 0);
    previousFolder = current != nullptr ? current : "/";
    std::free(current);
    const char* path = std::getenv("PATH");
    previousPath = path != nullptr ? path : "/usr/bin:/bin";
    EXPECT_EQ(chdir(folder.c_str()), 0);
    EXPECT_EQ(mkdir("Data", 0777), 0);
    setenv("PATH", (folder + ":" + previousPath).c_str(), 1);
}

ShellSandbox::~ShellSandbox() {
    if (folder.empty()) {
        return;
    }
    // Players and held commands outlive the children that started them; they are let go and
    // given a bounded moment to end, so none is left behind holding the test's output open.
    Release();
    WaitUntil([this] { return !AnyProcessMentions(folder); }, 5000);
    // A child still running now is stuck (a test failed); it must not outlive the test.
    for (const pid_t child : ChildProcesses()) {
        kill(child, SIGKILL);
    }
    setenv("PATH", previousPath.c_str(), 1);
    if (chdir(previousFolder.c_str()) != 0) {
        ADD_FAILURE() << "cannot return to " << previousFolder;
    }
    nftw(folder.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

void ShellSandbox::InstallPlayer(PlayerMode mode) {
    // The whole record goes out in one write, so players running side by side do not
    // interleave their lines.
    std::string script = "#!/bin/sh\n"
                         "record=\"argc=$#\"\n"
                         "for argument in \"$@\"; do\n"
                         "    record=\"$record\n$argument\"\n"
                         "done\n"
                         "printf '%s\\n" +
                         std::string(kCallSeparator) + "\\n' \"$record\" >> '" + folder + "/" +
                         kRecordFile + "'\n";
    switch (mode) {
    case PlayerMode::Succeed:
        script += "exit 0\n";
        break;
    case PlayerMode::Fail:
        script += "exit 1\n";
        break;
    case PlayerMode::HoldUntilRelease:
        script += HeldCommand() + "\nprintf 'done\\n' 2>/dev/null >> '" + folder + "/" +
                  kFinishedFile + "'\nexit 0\n";
        break;
    }
    const std::string path = folder + "/aplay";
    std::ofstream(path) << script;
    ASSERT_EQ(chmod(path.c_str(), 0755), 0);
}

void ShellSandbox::CreateFile(const std::string& relativePath) {
    std::ofstream file(folder + "/" + relativePath);
    file << "RIFF";
    ASSERT_TRUE(file.good()) << relativePath;
}

void ShellSandbox::Release() {
    std::ofstream(folder + "/" + kReleaseFile) << "go\n";
}

std::string ShellSandbox::HeldCommand() const {
    // The folder test keeps a command that missed its release from polling for ever.
    return "while [ ! -e '" + folder + "/" + kReleaseFile + "' ] && [ -d '" + folder +
           "' ]; do sleep 0.05; done";
}

std::vector<ShellSandbox::PlayerCall> ShellSandbox::PlayerCalls() const {
    std::vector<PlayerCall> calls;
    std::istringstream text(ReadWholeFile(folder + "/" + kRecordFile));
    std::string line;
    bool inCall = false;
    bool firstArgument = true;
    while (std::getline(text, line)) {
        if (!inCall) {
            if (line.compare(0, 5, "argc=") != 0) {
                ADD_FAILURE() << "unexpected record line: " << line;
                continue;
            }
            calls.push_back(PlayerCall{std::stoi(line.substr(5)), ""});
            inCall = true;
            firstArgument = true;
        } else if (line == kCallSeparator) {
            inCall = false;
        } else {
            calls.back().arguments += (firstArgument ? "" : "\n") + line;
            firstArgument = false;
        }
    }
    return calls;
}

int ShellSandbox::FinishedPlayerCount() const {
    const std::string text = ReadWholeFile(folder + "/" + kFinishedFile);
    int count = 0;
    for (const char c : text) {
        count += c == '\n' ? 1 : 0;
    }
    return count;
}

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    const int stepMs = 10;
    for (int waited = 0; waited < timeoutMs; waited += stepMs) {
        if (condition()) {
            return true;
        }
        SleepMs(stepMs);
    }
    return condition();
}

bool ProcessExists(pid_t pid) {
    struct stat info;
    return stat(("/proc/" + std::to_string(pid)).c_str(), &info) == 0;
}

std::vector<pid_t> ChildProcesses() {
    std::vector<pid_t> children;
    ForEachChild([&](pid_t pid, const std::string&) { children.push_back(pid); });
    return children;
}

int ZombieChildCount() {
    int zombies = 0;
    ForEachChild([&](pid_t, const std::string& state) {
        zombies += !state.empty() && state[0] == 'Z' ? 1 : 0;
    });
    return zombies;
}

int OpenDescriptorCount() {
    int count = 0;
    DIR* descriptors = opendir("/proc/self/fd");
    if (descriptors == nullptr) {
        ADD_FAILURE() << "cannot list /proc/self/fd";
        return -1;
    }
    while (const struct dirent* entry = readdir(descriptors)) {
        count += entry->d_name[0] != '.' ? 1 : 0;
    }
    closedir(descriptors);
    return count;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}
