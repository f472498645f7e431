#include "tests/e2e/GameProcess.h"

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

#include "tools/harness/WholeFile.h"

namespace {

const char* const kSoundFiles[] = {"beep.wav", "applauso.wav", "risata.wav"};
const char* const kPrograms[] = {"aplay", "firefox", "thunderbird"};
const int kStopTimeoutMs = 5000;

} // namespace

GameProcess::GameProcess()
    : workFolder(sandbox.File("work")), standIns(sandbox.Path()) {
    for (const char* name : kPrograms) {
        standIns.Install(name);
    }
}

GameProcess::~GameProcess() { program.Stop(kStopTimeoutMs); }

bool GameProcess::Start(const std::string& programPath, const std::string& soundsFolder) {
    if (mkdir(workFolder.c_str(), 0755) != 0 || mkdir((workFolder + "/Data").c_str(), 0755) != 0) {
        return false;
    }
    for (const char* sound : kSoundFiles) {
        const std::string content = ReadWholeFile(soundsFolder + "/" + sound);
        if (content.empty() || !WriteWholeFile(workFolder + "/Data/" + sound, content)) {
            return false;
        }
    }
    return program.Start({programPath}, {standIns.PathSetting()}, workFolder,
                         sandbox.File("stdout"), sandbox.File("stderr"));
}

std::string GameProcess::Output() const { return ReadWholeFile(sandbox.File("stdout")); }
std::string GameProcess::Errors() const { return ReadWholeFile(sandbox.File("stderr")); }
std::string GameProcess::LogText() const { return ReadWholeFile(workFolder + "/log.txt"); }

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
