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

// A working folder with Data/ and a recording "aplay" first on PATH.
class SoundPlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(mkdir("Data", 0777), 0);
        player.PutFirstOnPath();
    }
    void Sound(const std::string& name) { WriteRawFile(name, "RIFF"); }
    size_t Calls() const { return player.Calls().size(); }
    std::vector<std::string> Arguments(size_t call) const { return player.Calls().at(call).arguments; }
    bool Gone(pid_t pid) { return WaitUntil([pid] { return !ProcessExists(pid); }, 10000); }

    TempFolder folder{true};
    StandIns player{folder.Path()};
};

} // namespace

TEST_F(SoundPlayerTest, AMissingFileIsLoggedByNameAndStartsNothingButABeepStaysSilent) {
    player.Install("aplay");
    SoundPlayer sound;
    sound.Play("Data/applauso.wav", false);
    EXPECT_EQ(sound.GetPid(), 0);
    EXPECT_FALSE(sound.IsPlaying());
    sound.PlayAndWait("Data/risata.wav");
    PlaySoundOnce("Data/risata.wav");
    Beep();
    EXPECT_EQ(ReadWholeFile("log.txt"), "Data/applauso.wav non trovato.\n"
                                        "Data/risata.wav non trovato.\n"
                                        "Data/risata.wav non trovato.\n");
    EXPECT_TRUE(ChildrenOf(getpid()).empty());
    EXPECT_EQ(Calls(), 0u);
}

TEST_F(SoundPlayerTest, TwoQuickPlaysStartTwoPlayersAndBothPlayToTheEnd) {
    player.Install("aplay", Ending::kHoldUntilRelease);
    Sound("Data/applauso.wav");
    Sound("Data/risata.wav");
    SoundPlayer sound;
    sound.Play("Data/applauso.wav", false);
    const pid_t first = sound.GetPid();
    ASSERT_TRUE(player.WaitForCalls(1));
    sound.Play("Data/risata.wav", false);
    const pid_t second = sound.GetPid();
    ASSERT_GT(first, 0);
    ASSERT_GT(second, 0);
    EXPECT_NE(first, second);
    ASSERT_TRUE(player.WaitForCalls(2));
    EXPECT_EQ(Arguments(0), std::vector<std::string>{"Data/applauso.wav"});
    EXPECT_EQ(Arguments(1), std::vector<std::string>{"Data/risata.wav"});
    // The second Play stopped the first child, but not the player that child started.
    EXPECT_TRUE(Gone(first));
    EXPECT_TRUE(IsChildRunning(second));
    EXPECT_EQ(player.FinishedCount(), 0);
    player.Release();
    EXPECT_TRUE(WaitUntil([&] { return player.FinishedCount() == 2; }, 10000));
}

TEST_F(SoundPlayerTest, StopAndDestructionTerminateTheLastChildAndNothingElse) {
    player.Install("aplay", Ending::kHoldUntilRelease);
    Sound("Data/beep.wav");
    const pid_t bystander = StartShellChild(player.HeldCommand());
    ASSERT_GT(bystander, 0);
    for (const bool destroy : {false, true}) {
        SCOPED_TRACE(destroy ? "destroyed" : "stopped");
        pid_t child = 0;
        {
            SoundPlayer sound;
            sound.Play("Data/beep.wav", false);
            child = sound.GetPid();
            ASSERT_GT(child, 0);
            ASSERT_TRUE(player.WaitForCalls(destroy ? 2 : 1));
            if (!destroy) {
                sound.Stop();
                EXPECT_EQ(sound.GetPid(), 0);
                EXPECT_FALSE(sound.IsPlaying());
                sound.Stop();
            }
        }
        // Nothing has been released, so the child can only have gone because it was signalled.
        EXPECT_TRUE(Gone(child));
        EXPECT_TRUE(IsChildRunning(bystander));
    }
    player.Release();
    EXPECT_TRUE(Gone(bystander));
}

TEST_F(SoundPlayerTest, RepeatPlaysAgainUntilStoppedOrUntilThePlayerFails) {
    player.Install("aplay");
    Sound("Data/beep.wav");
    SoundPlayer sound;
    sound.Play("Data/beep.wav", true);
    const pid_t child = sound.GetPid();
    ASSERT_GT(child, 0);
    ASSERT_TRUE(player.WaitForCalls(3));
    EXPECT_TRUE(IsChildRunning(child));
    sound.Stop();
    ASSERT_TRUE(Gone(child));
    // At most the run already under way completes; after that the count stays put.
    const size_t afterStop = Calls();
    usleep(300 * 1000);
    const size_t settled = Calls();
    EXPECT_LE(settled, afterStop + 1);
    usleep(300 * 1000);
    EXPECT_EQ(Calls(), settled);

    player.Install("aplay", Ending::kFail);
    sound.Play("Data/beep.wav", true);
    ASSERT_GT(sound.GetPid(), 0);
    EXPECT_TRUE(Gone(sound.GetPid())) << "a failing player ends the repetition";
    EXPECT_EQ(Calls(), settled + 1);
}

TEST_F(SoundPlayerTest, PlayAndWaitPlaysInTheCallerAfterStoppingTheLastChild) {
    player.Install("aplay", Ending::kHoldUntilRelease);
    Sound("Data/risata.wav");
    SoundPlayer sound;
    sound.Play("Data/risata.wav", false);
    const pid_t child = sound.GetPid();
    ASSERT_GT(child, 0);
    ASSERT_TRUE(player.WaitForCalls(1));

    player.Install("aplay");
    sound.PlayAndWait("Data/risata.wav");
    EXPECT_EQ(Calls(), 2u);
    EXPECT_FALSE(sound.IsPlaying());
    EXPECT_TRUE(Gone(child));
    PlaySoundOnce("Data/risata.wav");
    EXPECT_EQ(Calls(), 3u);
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
    EXPECT_EQ(ChildrenOf(getpid()).size(), 1u);
    player.Release();
    EXPECT_TRUE(WaitUntil([] { return ChildrenOf(getpid()).empty(); }, 10000));
    player.Install("aplay");
    Beep();
    EXPECT_TRUE(player.WaitForCalls(2)) << "once it has ended, the next beep plays";
    EXPECT_TRUE(WaitUntil([] { return ChildrenOf(getpid()).empty(); }, 10000));
    EXPECT_EQ(ZombieChildrenOf(getpid()).size(), 0u);
    EXPECT_EQ(CountDescriptors(getpid()), descriptorsBefore);
}

TEST_F(SoundPlayerTest, FileNamesWithShellCharactersArriveAsOneArgument) {
    player.Install("aplay");
    ASSERT_EQ(mkdir("canary", 0777), 0);
    const std::vector<std::string> names = {
        "Data/with blank and 'quote'.wav",
        "Data/x;rm -rf canary;.wav",
        "Data/$(touch pwned) `touch pwned`.wav",
        "Data/new\nline.wav",
    };
    SoundPlayer sound;
    for (size_t i = 0; i < names.size(); ++i) {
        Sound(names[i]);
        sound.Play(names[i], false);
        ASSERT_TRUE(player.WaitForCalls(i + 1)) << names[i];
        EXPECT_EQ(Arguments(i), std::vector<std::string>{names[i]});
    }
    sound.PlayAndWait(names[1]);
    EXPECT_EQ(player.Calls().back().arguments, std::vector<std::string>{names[1]});
    EXPECT_EQ(access("canary", F_OK), 0) << "a file name ran a command";
    EXPECT_NE(access("pwned", F_OK), 0) << "a file name ran a command";
}

TEST_F(SoundPlayerTest, WhenNoChildCanStartTheSoundPlaysInTheCaller) {
    player.Install("aplay");
    Sound("Data/beep.wav");
    Sound("Data/applauso.wav");
    for (int i = 0; i < kMaxShellChildren; ++i) {
        ASSERT_GT(StartShellChild(player.HeldCommand()), 0);
    }
    SoundPlayer sound;
    sound.Play("Data/applauso.wav", false);
    EXPECT_EQ(sound.GetPid(), 0);
    EXPECT_FALSE(sound.IsPlaying());
    ASSERT_EQ(Calls(), 1u);
    Beep();
    ASSERT_EQ(Calls(), 2u);
    EXPECT_EQ(Arguments(1), std::vector<std::string>{"Data/beep.wav"});

    player.Release();
    ASSERT_TRUE(WaitUntil([] { return ChildrenOf(getpid()).empty(); }, 30000));
    sound.Play("Data/applauso.wav", false);
    EXPECT_GT(sound.GetPid(), 0);
}
