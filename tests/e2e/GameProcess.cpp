#include "tests/e2e/GameProcess.h"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <ftw.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "support/ProcessTable.h"
#include "support/TempFolder.h"

namespace {

const char* const kSoundFiles[] = {"beep.wav", "applauso.wav", "risata.wav"};
const char* const kStandIns[] = {"aplay", "firefox", "thunderbird"};
const int kTerminateTimeoutMs = 5000;

bool CopyFile(const std::string& from, const std::string& to) {
    std::ifstream source(from, std::ios::binary);
    std::ofstream target(to, std::ios::binary | std::ios::trunc);
    if (!source || !target) {
        return false;
    }
    target << source.rdbuf();
    return static_cast<bool>(target);
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream stream(text);
    while (std::getline(stream, part, separator)) {
        parts.push_back(part);
    }
    return parts;
}

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) {
    return remove(path);
}

// Each stand-in appends its whole record line with one write, so calls from several sound
// children at the same moment never mix their lines.
std::string StandInScript(const std::string& name, const std::string& recordFile) {
    return "#!/bin/sh\n"
           "# Stands in for the real " +
           name +
           ": records the call with its exact arguments and ends.\n"
           "line=\"$(date +%s.%N)\t" +
           name +
           "\"\n"
           "for argument in \"$@\"; do\n"
           "    line=\"$line\t$argument\"\n"
           "done\n"
           "printf '%s\\n' \"$line\" >> '" +
           recordFile + "'\n";
}

} // namespace

GameProcess::GameProcess() {
    char pattern[] = "/tmp/brisgola-e2e-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        return;
    }
    const std::string root = pattern;
    workFolder = root + "/work";
    if (mkdir(workFolder.c_str(), 0755) != 0 || mkdir((workFolder + "/Data").c_str(), 0755) != 0 ||
        mkdir((root + "/bin").c_str(), 0755) != 0) {
        nftw(root.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
        return;
    }
    sandbox = root;
    if (!WriteStandIns()) {
        nftw(root.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
        sandbox.clear();
    }
}

GameProcess::~GameProcess() {
    Terminate();
    if (!sandbox.empty()) {
        nftw(sandbox.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
    }
}

bool GameProcess::WriteStandIns() {
    for (const char* name : kStandIns) {
        const std::string path = sandbox + "/bin/" + name;
        std::ofstream script(path, std::ios::trunc);
        script << StandInScript(name, sandbox + "/commands");
        script.close();
        if (!script || chmod(path.c_str(), 0755) != 0) {
            return false;
        }
    }
    return true;
}

bool GameProcess::Start(const std::string& program, const std::string& soundsFolder) {
    if (sandbox.empty() || this->program.Pid() > 0) {
        return false;
    }
    for (const char* sound : kSoundFiles) {
        if (!CopyFile(soundsFolder + "/" + sound, workFolder + "/Data/" + sound)) {
            return false;
        }
    }
    // The stand-ins come first on the game's PATH.
    const char* path = std::getenv("PATH");
    const std::string gamePath =
        "PATH=" + sandbox + "/bin:" + (path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin");
    return this->program.Start({program}, {gamePath}, workFolder, sandbox + "/stdout",
                               sandbox + "/stderr");
}

bool GameProcess::IsRunning() {
    return program.IsRunning();
}

bool GameProcess::WaitForExit(int timeoutMs) {
    return program.WaitForExit(timeoutMs);
}

void GameProcess::Terminate() {
    program.Stop(kTerminateTimeoutMs);
}

std::string GameProcess::Output() const {
    return ReadRawFile(sandbox + "/stdout");
}

std::string GameProcess::Errors() const {
    return ReadRawFile(sandbox + "/stderr");
}

std::string GameProcess::LogText() const {
    return ReadRawFile(workFolder + "/log.txt");
}

bool GameProcess::HasLog() const {
    return access((workFolder + "/log.txt").c_str(), F_OK) == 0;
}

std::vector<std::string> GameProcess::FolderEntries(const std::string& subFolder) const {
    std::vector<std::string> names;
    const std::string folder = subFolder.empty() ? workFolder : workFolder + "/" + subFolder;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) {
        return names;
    }
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<RecordedCommand> GameProcess::Commands() const {
    std::vector<RecordedCommand> commands;
    for (const std::string& line : Split(ReadRawFile(sandbox + "/commands"), '\n')) {
        const std::vector<std::string> fields = Split(line, '\t');
        if (fields.size() < 2) {
            continue;
        }
        RecordedCommand command;
        command.time = std::strtod(fields[0].c_str(), nullptr);
        command.program = fields[1];
        command.arguments.assign(fields.begin() + 2, fields.end());
        commands.push_back(command);
    }
    return commands;
}

std::vector<pid_t> GameProcess::ZombieChildren() const {
    return ProcessTable::ZombieChildrenOf(program.Pid());
}
