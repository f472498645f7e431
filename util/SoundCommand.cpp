#include "util/SoundCommand.h"

#include "util/ChildProcess.h"
#include "util/FileUtils.h"

namespace {

const char* const kPlayerProgram = "aplay";
const char* const kBeepFile = "Data/beep.wav";

// The child of the last beep, while it may still be playing.
pid_t beepChild = 0;

} // namespace

std::string SoundCommandLine(const std::string& file) {
    return std::string(kPlayerProgram) + " " + ShellQuote(file);
}

bool PlaySoundInCaller(const std::string& file) {
    return RunCommand(kPlayerProgram, ShellQuote(file));
}

void Beep() {
    // One beep sounds like any other: a beep still playing answers every request made
    // meanwhile, so a flood of clicks starts one player, not thousands.
    if (beepChild > 0 && IsChildRunning(beepChild)) {
        return;
    }
    if (!FileExists(kBeepFile)) {
        return;
    }
    beepChild = StartShellChild(SoundCommandLine(kBeepFile));
    if (beepChild < 0) {
        PlaySoundInCaller(kBeepFile);
    }
}
