#pragma once

#include <string>
#include <sys/types.h>

// Plays WAV files by starting the external "aplay" in a child process, so the window keeps
// running while a sound plays. The player remembers the last child it started and stops it
// when asked or when it is destroyed; only that child is signalled, so the "aplay" it started
// plays on to the end of the file and sounds overlap rather than cut each other short.
class SoundPlayer {
  public:
    SoundPlayer() = default;
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // Returns at once; with repeat the child plays the file over and over until stopped.
    void Play(const std::string& file, bool repeat);
    // Plays the file in the calling process and returns when the player ends.
    void PlayAndWait(const std::string& file);
    void Stop();

    pid_t GetPid() const { return pid; }
    bool IsPlaying() const { return playing; }

  private:
    pid_t pid = 0;
    bool playing = false;
};

// Plays the file in the calling process and returns when it has been played.
void PlaySoundOnce(const std::string& file);
