#include "game/SoundPlayer.h"

#include <csignal>

#include "util/ChildProcess.h"
#include "util/FileUtils.h"
#include "util/Log.h"
#include "util/SoundCommand.h"

namespace {

void LogMissing(const std::string& file) {
    LogString(file + " non trovato.");
}

} // namespace

SoundPlayer::~SoundPlayer() {
    Stop();
}

void SoundPlayer::Play(const std::string& file, bool repeat) {
    if (!FileExists(file)) {
        LogMissing(file);
        return;
    }
    Stop();
    const pid_t child = StartShellChild(SoundCommandLine(file), repeat);
    if (child > 0) {
        pid = child;
        playing = true;
        return;
    }
    // No child could be started: the sound is still played, once, at the price of the window
    // not responding until it ends.
    PlaySoundInCaller(file);
}

void SoundPlayer::PlayAndWait(const std::string& file) {
    if (!FileExists(file)) {
        LogMissing(file);
        return;
    }
    Stop();
    PlaySoundInCaller(file);
}

void SoundPlayer::Stop() {
    if (playing) {
        // A child that has already ended and been reaped is left alone: its pid may by now
        // belong to an unrelated process.
        SignalChild(pid, SIGTERM);
    }
    pid = 0;
    playing = false;
}

void PlaySoundOnce(const std::string& file) {
    SoundPlayer player;
    player.PlayAndWait(file);
}
