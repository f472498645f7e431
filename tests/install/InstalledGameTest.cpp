#include <gtest/gtest.h>

#include <csignal>

#include "install/StagedInstall.h"
#include "support/TempFolder.h"
#include "tools/driver/WindowFinder.h"
#include "tools/harness/ProcReader.h"
#include "tools/harness/RunningProgram.h"
#include "tools/harness/WaitUntil.h"

TEST(InstalledGame, StartsFromTheLauncherInThePlayersOwnFolder) {
    StagedInstall staged;
    ASSERT_TRUE(staged.Succeeded()) << staged.InstallerOutput();
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    WindowFinder windows(display, "Brisgola.exe");
    const std::string home = staged.MakeFolderBeside("home");
    const std::string current = staged.MakeFolderBeside("current");
    const std::string output = staged.Beside("output");
    RunningProgram game;
    ASSERT_TRUE(game.Start({staged.Installed("games/brisgola")},
                           {"HOME=" + home, "XDG_DATA_HOME=" + staged.Beside("data")}, current,
                           output));
    const Window window =
        windows.WaitForTitled("Brisgola Copyright (c) 2026 The Brisgola Authors", 20000);
    ASSERT_NE(window, 0u) << "no game window; the game said:\n" << ReadWholeFile(output);
    EXPECT_EQ(DescribeTree(staged.Beside("data") + "/brisgola/Data"), staged.SoundLinks());
    // The launcher replaced itself with the game, so the signal reaches the game itself.
    ASSERT_EQ(kill(game.Pid(), SIGTERM), 0);
    EXPECT_TRUE(game.WaitForExit(5000));
    EXPECT_EQ(game.ExitStatus(), 128 + SIGTERM) << ReadWholeFile(output);
    EXPECT_TRUE(MembersOfGroup(game.Pid()).empty()) << "the game left processes behind";
    EXPECT_TRUE(WaitUntil([&] { return !windows.IsShown(window); }, 5000));
    EXPECT_TRUE(DescribeTree(current).empty() && DescribeTree(home).empty());
    XCloseDisplay(display);
}
