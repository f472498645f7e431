#include "game/SoundPlayer.h"

#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "support/StandIns.h"
#include "support/TempFolder.h"
#include "tools/harness/ProcReader.h"
#include "tools/harness/WaitUntil.h"
#include "tools/harness/WholeFile.h"
#include "util/ChildProcess.h"
#include "util/SoundCommand.h"

namespace {

using Ending = StandIns::Ending;
using Arguments = std::vector<std::string>;

// A working folder with Data/ and a recording "aplay" first on PATH.
class SoundPlayerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(mkdir("Data", 0777), 0);
        player.PutFirstOnPath();
    }
    void Sound(const std::string& name) { WriteRawFile(name, "RIFF"); }
    size_t Calls() const { return player.Calls().size(); }
    Arguments ArgumentsOf(size_t call) const { return player.Calls().at(call).arguments; }

    TempFolder folder{true};
    StandIns player{folder.Path()};
};

} // namespace

// Only the child is signalled, never the player it started: a new sound does not cut the last
// one short, while the child itself goes at the next Play or with the player object. Names
// reach the player as one argument, whatever the shell would make of them.
TEST_F(SoundPlayerTest, ANewPlayStopsTheLastChildButBothSoundsPlayToTheEnd) {
    player.Install("aplay", Ending::kHoldUntilRelease);
    const std::string names[] = {"Data/with blank and 'quote'.wav",
                                 "Data/x;$(touch pwned) `touch pwned`.wav"};
    Sound(names[0]);
    Sound(names[1]);
    pid_t second = 0;
    {
        SoundPlayer sound;
        sound.Play(names[0], false);
        const pid_t first = sound.GetPid();
        ASSERT_TRUE(first > 0 && player.WaitForCalls(1));
        sound.Play(names[1], false);
        second = sound.GetPid();
        ASSERT_TRUE(second > 0 && player.WaitForCalls(2));
        // Nothing has been released, so a child can only have gone because it was signalled.
        EXPECT_TRUE(WaitUntilGone(first) && IsChildRunning(second));
    }
    EXPECT_TRUE(WaitUntilGone(second)) << "destroying the player stops its last child";
    EXPECT_EQ(player.FinishedCount(), 0);
    player.Release();
    EXPECT_TRUE(WaitUntil([&] { return player.FinishedCount() == 2; }, 10000));
    player.Install("aplay");
    PlaySoundOnce(names[0]);
    ASSERT_EQ(Calls(), 3u) << "played in the caller, so done on return";
    for (size_t call = 0; call < 3; ++call) {
        EXPECT_EQ(ArgumentsOf(call), Arguments{names[call % 2]});
    }
    EXPECT_NE(access("pwned", F_OK), 0) << "a file name ran a command";
}

TEST_F(SoundPlayerTest, BeepsWhileOneIsPlayingStartNothingAndLeaveNothingBehind) {
    player.Install("aplay", Ending::kHoldUntilRelease);
    Sound("Data/beep.wav");
    const int descriptorsBefore = CountDescriptors(getpid());
    for (int i = 0; i < 300; ++i) {
        Beep();
    }
    ASSERT_TRUE(player.WaitForCalls(1));
    usleep(200 * 1000);
    EXPECT_EQ(Calls(), 1u) << "the first beep answers them all while it plays";
    player.Release();
    EXPECT_TRUE(WaitUntil([] { return ChildrenOf(getpid()).empty(); }, 10000));
    player.Install("aplay");
    Beep();
    EXPECT_TRUE(player.WaitForCalls(2)) << "once it has ended, the next beep plays";
    EXPECT_TRUE(WaitUntil([] { return ChildrenOf(getpid()).empty(); }, 10000));
    EXPECT_EQ(CountDescriptors(getpid()), descriptorsBefore);
}
