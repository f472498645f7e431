#include "util/SoundCommand.h"

#include "util/ChildProcess.h"
#include "util/FileUtils.h"

namespace {

const char* const kPlayerProgram = "aplay";
const char* const kBeepFile = "Data/beep.wav";

} // namespace

std::string SoundCommandLine(const std::string& file) {
    return std::string(kPlayerProgram) + " " + ShellQuote(file);
}

bool PlaySoundInCaller(const std::string& file) {
    return RunCommand(kPlayerProgram, ShellQuote(file));
}

void Beep() {
    if (!FileExists(kBeepFile)) {
        return;
    }
    if (StartShellChild(SoundCommandLine(kBeepFile)) < 0) {
        PlaySoundInCaller(kBeepFile);
    }
}
