#pragma once

#include <string>

// Sounds are WAV files played by the external "aplay"; these build its command line and play
// a file, and sound the toolkit's beep. The game's sound player (game/SoundPlayer) and every
// control that refuses input use them.

// "aplay" and the file, quoted so that blanks, quotes or shell characters in the name reach
// the player as one argument and can never run anything else.
std::string SoundCommandLine(const std::string& file);
// Plays the file in the calling process; true when the player ran and succeeded.
bool PlaySoundInCaller(const std::string& file);
// Plays "Data/beep.wav" in a child process that nobody waits for; without the file, or while
// the last beep is still playing, nothing.
void Beep();
