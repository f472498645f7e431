#include <gtest/gtest.h>

#include <map>
#include <sys/stat.h>
#include <unistd.h>

#include "support/RunningProgram.h"
#include "install/StagedInstall.h"
#include "support/TempFolder.h"

// These runs have no display on purpose: the game then gives up at once, after the launcher
// has prepared its folder and the game has logged why it stopped, which is all they look at.

namespace {

ProgramResult RunLauncher(const StagedInstall& staged, std::vector<std::string> environment,
                          const std::string& folder) {
    environment.push_back("DISPLAY");
    return RunProgram({staged.Installed("games/brisgola")}, environment, folder);
}

bool GameRanIn(const std::string& folder) {
    return ReadRawFile(folder + "/log.txt").find("XOpenDisplay") != std::string::npos;
}

} // namespace

TEST(InstalledLauncher, RefusesToStartWithoutAFolderOfItsOwn) {
    StagedInstall staged;
    ASSERT_TRUE(staged.Succeeded()) << staged.InstallerOutput();
    const std::string noFolder = "brisgola: neither XDG_DATA_HOME nor HOME names an absolute "
                                 "folder to keep the game's files in\n";
    const std::vector<std::string> cases[] = {
        {"HOME", "XDG_DATA_HOME"},
        {"HOME=", "XDG_DATA_HOME="},
        // Relative folders would land in the current one.
        {"HOME", "XDG_DATA_HOME=relative/data"},
        {"HOME=relative/home", "XDG_DATA_HOME"},
    };
    int number = 0;
    for (const std::vector<std::string>& environment : cases) {
        const std::string current = staged.MakeFolderBeside("current" + std::to_string(++number));
        const ProgramResult result = RunLauncher(staged, environment, current);
        EXPECT_EQ(result.status, 1) << "case " << number << ": " << result.output;
        EXPECT_EQ(result.output, noFolder) << "case " << number;
        EXPECT_TRUE(DescribeTree(current).empty()) << "case " << number;
    }

    // A file where the working folder should be is the player's: it is reported, not replaced.
    const std::string home = staged.MakeFolderBeside("home");
    const std::string share = home + "/.local/share";
    ASSERT_EQ(mkdir((home + "/.local").c_str(), 0755), 0);
    ASSERT_EQ(mkdir(share.c_str(), 0755), 0);
    WriteRawFile(share + "/brisgola", "not a folder");
    const std::string current = staged.MakeFolderBeside("current");
    const ProgramResult blocked = RunLauncher(staged, {"HOME=" + home, "XDG_DATA_HOME"}, current);
    EXPECT_EQ(blocked.status, 1) << blocked.output;
    EXPECT_NE(blocked.output.find("brisgola: cannot create the game's folder " + share +
                                  "/brisgola/Data"),
              std::string::npos)
        << blocked.output;
    EXPECT_EQ(ReadRawFile(share + "/brisgola"), "not a folder");
    EXPECT_TRUE(DescribeTree(current).empty());
}

TEST(InstalledLauncher, RunsTheGameInTheXdgDataHomeOnlyWhenThatIsAbsolute) {
    StagedInstall staged;
    ASSERT_TRUE(staged.Succeeded()) << staged.InstallerOutput();

    const std::string home = staged.MakeFolderBeside("home");
    const std::string current = staged.MakeFolderBeside("current");
    const ProgramResult relative =
        RunLauncher(staged, {"HOME=" + home, "XDG_DATA_HOME=data"}, current);
    const std::string homeWork = home + "/.local/share/brisgola";
    EXPECT_TRUE(GameRanIn(homeWork)) << relative.output;
    EXPECT_EQ(DescribeTree(homeWork + "/Data"), staged.SoundLinks());
    EXPECT_TRUE(DescribeTree(current).empty()) << "a relative XDG_DATA_HOME was used";

    const std::string otherHome = staged.MakeFolderBeside("other-home");
    const std::string dataHome = staged.Beside("data-home");
    const ProgramResult absolute =
        RunLauncher(staged, {"HOME=" + otherHome, "XDG_DATA_HOME=" + dataHome}, current);
    EXPECT_TRUE(GameRanIn(dataHome + "/brisgola")) << absolute.output;
    EXPECT_EQ(DescribeTree(dataHome + "/brisgola/Data"), staged.SoundLinks());
    EXPECT_TRUE(DescribeTree(otherHome).empty());
    EXPECT_TRUE(DescribeTree(current).empty());
}

TEST(InstalledLauncher, RenewsItsSoundLinksAndLeavesThePlayersFilesAlone) {
    StagedInstall staged;
    ASSERT_TRUE(staged.Succeeded()) << staged.InstallerOutput();
    const std::string dataHome = staged.MakeFolderBeside("data-home");
    const std::string work = dataHome + "/brisgola";
    ASSERT_EQ(mkdir(work.c_str(), 0755), 0);
    ASSERT_EQ(mkdir((work + "/Data").c_str(), 0755), 0);
    // As an install that has since moved would have left it.
    ASSERT_EQ(symlink("/nowhere/share/games/brisgola/beep.wav", (work + "/Data/beep.wav").c_str()),
              0);
    WriteRawFile(work + "/Data/risata.wav", "the player's own laughter");
    WriteRawFile(work + "/Data/notes.txt", "notes");
    WriteRawFile(work + "/scores.txt", "10 - 7");
    const auto playersFiles = DescribeTree(work + "/Data");

    const std::string current = staged.MakeFolderBeside("current");
    const ProgramResult result = RunLauncher(
        staged, {"HOME=" + staged.Beside("home"), "XDG_DATA_HOME=" + dataHome}, current);
    EXPECT_TRUE(GameRanIn(work)) << result.output;

    std::map<std::string, std::string> expected = staged.SoundLinks();
    expected["risata.wav"] = playersFiles.at("risata.wav");
    expected["notes.txt"] = playersFiles.at("notes.txt");
    EXPECT_EQ(DescribeTree(work + "/Data"), expected);
    EXPECT_EQ(ReadRawFile(work + "/Data/risata.wav"), "the player's own laughter");
    EXPECT_EQ(ReadRawFile(work + "/Data/notes.txt"), "notes");
    EXPECT_EQ(ReadRawFile(work + "/scores.txt"), "10 - 7");

    // A second start finds everything in place and changes nothing.
    const auto before = DescribeTree(work + "/Data");
    RunLauncher(staged, {"HOME=" + staged.Beside("home"), "XDG_DATA_HOME=" + dataHome}, current);
    EXPECT_EQ(DescribeTree(work + "/Data"), before);
    EXPECT_TRUE(DescribeTree(current).empty());
}
