#include "game/SoundPlayer.h"

#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "game/ShellSandbox.h"
#include "util/ChildProcess.h"

namespace {

using PlayerMode = ShellSandbox::PlayerMode;

bool HasCalls(const ShellSandbox& sandbox, size_t count) {
    return sandbox.PlayerCalls().size() >= count;
}

} // namespace

TEST(SoundPlayer, PlayingAMissingFileLogsItsNameAndStartsNothing) {
    ShellSandbox sandbox;
    sandbox.InstallPlayer(PlayerMode::Succeed);
    SoundPlayer player;
    player.Play("Data/applauso.wav", false);
    EXPECT_EQ(player.GetPid(), 0);
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_EQ(ReadWholeFile("log.txt"), "Data/applauso.wav non trovato.\n");

    player.PlayAndWait("Data/risata.wav");
    PlaySoundOnce("Data/risata.wav");
    EXPECT_EQ(ReadWholeFile("log.txt"), "Data/applauso.wav non trovato.\n"
                                        "Data/risata.wav non trovato.\n"
                                        "Data/risata.wav non trovato.\n");
    EXPECT_TRUE(ChildProcesses().empty());
    EXPECT_TRUE(sandbox.PlayerCalls().empty());
}

TEST(SoundPlayer, TwoQuickPlaysStartTwoPlayersAndBothPlayToTheEnd) {
    ShellSandbox sandbox;
    sandbox.InstallPlayer(PlayerMode::HoldUntilRelease);
    sandbox.CreateFile("Data/applauso.wav");
    sandbox.CreateFile("Data/risata.wav");
    SoundPlayer player;

    player.Play("Data/applauso.wav", false);
    const pid_t first = player.GetPid();
    ASSERT_TRUE(WaitUntil([&] { return HasCalls(sandbox, 1); }));
    player.Play("Data/risata.wav", false);
    const pid_t second = player.GetPid();
    ASSERT_GT(first, 0);
    ASSERT_GT(second, 0);
    EXPECT_NE(first, second);
    EXPECT_TRUE(player.IsPlaying());

    ASSERT_TRUE(WaitUntil([&] { return HasCalls(sandbox, 2); }));
    const std::vector<ShellSandbox::PlayerCall> calls = sandbox.PlayerCalls();
    EXPECT_EQ(calls[0].arguments, "Data/applauso.wav");
    EXPECT_EQ(calls[1].arguments, "Data/risata.wav");

    // The second Play stopped the first child, but not the player that child started.
    EXPECT_TRUE(WaitUntil([first] { return !ProcessExists(first); }));
    EXPECT_TRUE(IsChildRunning(second));
    EXPECT_EQ(sandbox.FinishedPlayerCount(), 0);
    sandbox.Release();
    EXPECT_TRUE(WaitUntil([&] { return sandbox.FinishedPlayerCount() == 2; }));
}

TEST(SoundPlayer, StopTerminatesTheLastChildAndNothingElse) {
    ShellSandbox sandbox;
    sandbox.InstallPlayer(PlayerMode::HoldUntilRelease);
    sandbox.CreateFile("Data/beep.wav");
    const pid_t bystander = StartShellChild(sandbox.HeldCommand());
    ASSERT_GT(bystander, 0);

    SoundPlayer player;
    player.Play("Data/beep.wav", false);
    const pid_t child = player.GetPid();
    ASSERT_GT(child, 0);
    ASSERT_TRUE(WaitUntil([&] { return HasCalls(sandbox, 1); }));

    player.Stop();
    EXPECT_EQ(player.GetPid(), 0);
    EXPECT_FALSE(player.IsPlaying());
    // Nothing has been released, so the child can only have gone because it was signalled.
    EXPECT_TRUE(WaitUntil([child] { return !ProcessExists(child); }));
    EXPECT_TRUE(IsChildRunning(bystander));
    player.Stop();
    EXPECT_TRUE(IsChildRunning(bystander));

    sandbox.Release();
    EXPECT_TRUE(WaitUntil([&] { return sandbox.FinishedPlayerCount() == 1; }));
    EXPECT_TRUE(WaitUntil([bystander] { return !ProcessExists(bystander); }));
}

TEST(SoundPlayer, DestructionTerminatesTheLastChild) {
    ShellSandbox sandbox;
    sandbox.InstallPlayer(PlayerMode::HoldUntilRelease);
    sandbox.CreateFile("Data/applauso.wav");
    pid_t child = 0;
    {
        SoundPlayer player;
        player.Play("Data/applauso.wav", false);
        child = player.GetPid();
        ASSERT_GT(child, 0);
        ASSERT_TRUE(WaitUntil([&] { return HasCalls(sandbox, 1); }));
    }
    EXPECT_TRUE(WaitUntil([child] { return !ProcessExists(child); }));
    EXPECT_EQ(sandbox.FinishedPlayerCount(), 0);
    sandbox.Release();
    EXPECT_TRUE(WaitUntil([&] { return sandbox.FinishedPlayerCount() == 1; }));
}

TEST(SoundPlayer, RepeatPlaysAgainUntilStopped) {
    ShellSandbox sandbox;
    sandbox.InstallPlayer(PlayerMode::Succeed);
    sandbox.CreateFile("Data/beep.wav");
    SoundPlayer player;
    player.Play("Data/beep.wav", true);
    const pid_t child = player.GetPid();
    ASSERT_GT(child, 0);
    ASSERT_TRUE(WaitUntil([&] { return HasCalls(sandbox, 3); }));
    EXPECT_TRUE(IsChildRunning(child));

    player.Stop();
    ASSERT_TRUE(WaitUntil([child] { return !ProcessExists(child); }));
    // At most the run already under way completes; after that the count stays put.
    const size_t afterStop = sandbox.PlayerCalls().size();
    usleep(300 * 1000);
    const size_t settled = sandbox.PlayerCalls().size();
    EXPECT_LE(settled, afterStop + 1);
    usleep(300 * 1000);
    EXPECT_EQ(sandbox.PlayerCalls().size(), settled);
}

TEST(SoundPlayer, RepeatEndsWhenThePlayerFails) {
    ShellSandbox sandbox;
    sandbox.InstallPlayer(PlayerMode::Fail);
    sandbox.CreateFile("Data/beep.wav");
    SoundPlayer player;
    player.Play("Data/beep.wav", true);
    const pid_t child = player.GetPid();
    ASSERT_GT(child, 0);
    EXPECT_TRUE(WaitUntil([child] { return !ProcessExists(child); }));
    EXPECT_EQ(sandbox.PlayerCalls().size(), 1u);
    player.Stop();
    EXPECT_FALSE(player.IsPlaying());
}

TEST(SoundPlayer, PlayAndWaitPlaysInTheCallerAfterStoppingTheLastChild) {
    ShellSandbox sandbox;
    sandbox.InstallPlayer(PlayerMode::HoldUntilRelease);
    sandbox.CreateFile("Data/risata.wav");
    SoundPlayer player;
    player.Play("Data/risata.wav", false);
    const pid_t child = player.GetPid();
    ASSERT_GT(child, 0);
    ASSERT_TRUE(WaitUntil([&] { return HasCalls(sandbox, 1); }));

    sandbox.InstallPlayer(PlayerMode::Succeed);
    player.PlayAndWait("Data/risata.wav");
    EXPECT_EQ(sandbox.PlayerCalls().size(), 2u);
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_TRUE(WaitUntil([child] { return !ProcessExists(child); }));

    PlaySoundOnce("Data/risata.wav");
    EXPECT_EQ(sandbox.PlayerCalls().size(), 3u);
}

TEST(SoundPlayer, BeepWithoutItsFileDoesNothingAndLogsNothing) {
    ShellSandbox sandbox;
    sandbox.InstallPlayer(PlayerMode::Succeed);
    Beep();
    EXPECT_TRUE(ChildProcesses().empty());
    EXPECT_NE(access("log.txt", F_OK), 0);
    EXPECT_TRUE(sandbox.PlayerCalls().empty());
}

TEST(SoundPlayer, ManyBeepsLeaveNoZombiesAndNoDescriptors) {
    ShellSandbox sandbox;
    sandbox.InstallPlayer(PlayerMode::Succeed);
    sandbox.CreateFile("Data/beep.wav");
    const int descriptorsBefore = OpenDescriptorCount();
    const size_t beeps = 300;
    for (size_t i = 0; i < beeps; ++i) {
        Beep();
    }
    // Every beep plays, in a child or, when too many are still running, in the caller.
    EXPECT_TRUE(WaitUntil([&] { return sandbox.PlayerCalls().size() == beeps; }, 60000));
    EXPECT_TRUE(WaitUntil([] { return ChildProcesses().empty(); }, 30000));
    EXPECT_EQ(ZombieChildCount(), 0);
    EXPECT_EQ(OpenDescriptorCount(), descriptorsBefore);
    for (const ShellSandbox::PlayerCall& call : sandbox.PlayerCalls()) {
        EXPECT_EQ(call.argumentCount, 1);
        EXPECT_EQ(call.arguments, "Data/beep.wav");
    }
}

TEST(SoundPlayer, FileNamesWithShellCharactersArriveAsOneArgument) {
    ShellSandbox sandbox;
    sandbox.InstallPlayer(PlayerMode::Succeed);
    ASSERT_EQ(mkdir("canary", 0777), 0);
    const std::vector<std::string> names = {
        "Data/with blank and 'quote'.wav",
        "Data/x;rm -rf canary;.wav",
        "Data/$(touch pwned).wav",
        "Data/`touch pwned` && touch pwned.wav",
        "Data/*.wav",
        "Data/new\nline.wav",
    };
    SoundPlayer player;
    for (size_t i = 0; i < names.size(); ++i) {
        sandbox.CreateFile(names[i]);
        player.Play(names[i], false);
        ASSERT_GT(player.GetPid(), 0) << names[i];
        ASSERT_TRUE(WaitUntil([&] { return HasCalls(sandbox, i + 1); })) << names[i];
        const ShellSandbox::PlayerCall call = sandbox.PlayerCalls()[i];
        EXPECT_EQ(call.argumentCount, 1) << names[i];
        EXPECT_EQ(call.arguments, names[i]);
    }
    player.PlayAndWait(names[1]);
    ASSERT_EQ(sandbox.PlayerCalls().size(), names.size() + 1);
    EXPECT_EQ(sandbox.PlayerCalls().back().arguments, names[1]);
    EXPECT_EQ(access("canary", F_OK), 0) << "a file name ran a command";
    EXPECT_NE(access("pwned", F_OK), 0) << "a file name ran a command";
}

TEST(SoundPlayer, WhenNoChildCanStartTheSoundPlaysInTheCaller) {
    ShellSandbox sandbox;
    sandbox.InstallPlayer(PlayerMode::Succeed);
    sandbox.CreateFile("Data/beep.wav");
    sandbox.CreateFile("Data/applauso.wav");
    for (int i = 0; i < kMaxShellChildren; ++i) {
        ASSERT_GT(StartShellChild(sandbox.HeldCommand()), 0);
    }

    SoundPlayer player;
    player.Play("Data/applauso.wav", false);
    EXPECT_EQ(player.GetPid(), 0);
    EXPECT_FALSE(player.IsPlaying());
    ASSERT_EQ(sandbox.PlayerCalls().size(), 1u);
    Beep();
    ASSERT_EQ(sandbox.PlayerCalls().size(), 2u);
    EXPECT_EQ(sandbox.PlayerCalls()[1].arguments, "Data/beep.wav");

    sandbox.Release();
    ASSERT_TRUE(WaitUntil([] { return ChildProcesses().empty(); }, 30000));
    player.Play("Data/applauso.wav", false);
    EXPECT_GT(player.GetPid(), 0);
}
