#include <gtest/gtest.h>

#include <filesystem>

#include "install/StagedInstall.h"
#include "support/TempFolder.h"
#include "tools/harness/RunningProgram.h"

namespace fs = std::filesystem;

namespace {

// Without a display on purpose: the game then gives up at once, after the launcher has
// prepared its folder and the game has logged why it stopped, which is all these tests need.
ProgramResult RunWithoutDisplay(const std::string& launcher, std::vector<std::string> environment,
                                const std::string& folder) {
    environment.push_back("DISPLAY");
    return RunProgram({launcher}, environment, folder);
}

} // namespace

TEST(InstalledLauncher, FindsItsInstallThroughALinkAndRenewsOnlyItsOwnLinks) {
    StagedInstall staged("/opt/brisgola");
    ASSERT_TRUE(staged.Succeeded()) << staged.InstallerOutput();
    EXPECT_EQ(DescribeTree(staged.Root()), ExpectedGameTree("/opt/brisgola"));
    // Called as a command on PATH often is: through a link in another folder.
    const std::string link = staged.MakeFolderBeside("bin") + "/brisgola";
    fs::create_symlink(staged.Installed("games/brisgola"), link);
    const std::string home = staged.MakeFolderBeside("home");
    const std::string work = home + "/.local/share/brisgola";
    fs::create_directories(work + "/Data");
    // As an install that has since moved would have left it.
    fs::create_symlink("/nowhere/share/games/brisgola/beep.wav", work + "/Data/beep.wav");
    WriteRawFile(work + "/Data/risata.wav", "the player's own laughter");
    WriteRawFile(work + "/Data/notes.txt", "notes");
    WriteRawFile(work + "/scores.txt", "10 - 7");
    // Links become links into this install; the player's own files stay as they are.
    std::map<std::string, std::string> before = DescribeTree(work + "/Data"),
                                       expected = staged.SoundLinks();
    expected["risata.wav"] = before["risata.wav"];
    expected["notes.txt"] = before["notes.txt"];
    const std::string current = staged.MakeFolderBeside("current");
    // A relative XDG_DATA_HOME names no folder of the player's; HOME does. A second start
    // finds everything in place and changes nothing.
    for (int start = 0; start < 2; ++start) {
        const ProgramResult result =
            RunWithoutDisplay(link, {"XDG_DATA_HOME=data", "HOME=" + home}, current);
        EXPECT_NE(ReadWholeFile(work + "/log.txt").find("XOpenDisplay"), std::string::npos)
            << "the game did not run there: " << result.output;
        EXPECT_EQ(DescribeTree(work + "/Data"), expected);
    }
    EXPECT_EQ(ReadWholeFile(work + "/Data/risata.wav") + ReadWholeFile(work + "/scores.txt"),
              "the player's own laughter10 - 7");
    EXPECT_TRUE(DescribeTree(current).empty());
}

TEST(InstalledLauncher, RefusesToStartAnywhereButAFolderOfItsOwn) {
    StagedInstall staged;
    ASSERT_TRUE(staged.Succeeded()) << staged.InstallerOutput();
    const std::string launcher = staged.Installed("games/brisgola");
    // Copies of the launcher in trees that lack the program, or only the sounds: the folders
    // that would hold them are there, the program and the sounds' folder are not.
    const std::string bare = staged.Beside("bare");
    const std::string soundless = staged.Beside("soundless");
    for (const std::string& tree : {bare, soundless}) {
        for (const char* folder : {"/games", "/lib/games/brisgola", "/share/games"}) {
            fs::create_directories(tree + folder);
        }
        fs::copy_file(launcher, tree + "/games/brisgola");
    }
    fs::create_symlink(staged.Installed("lib/games/brisgola/brisgola"),
                       soundless + "/lib/games/brisgola/brisgola");
    // A file where the game's folder should be is the player's: it is reported, not replaced.
    const std::string blocked = staged.MakeFolderBeside("blocked");
    WriteRawFile(blocked + "/brisgola", "not a folder");
    const std::string home = staged.MakeFolderBeside("home");
    const std::string noFolder = "neither XDG_DATA_HOME nor HOME names an absolute folder";
    const std::tuple<std::string, std::vector<std::string>, std::string> cases[] = {
        {launcher, {"HOME", "XDG_DATA_HOME"}, noFolder},
        // Relative folders would land in the current one.
        {launcher, {"HOME=relative/home", "XDG_DATA_HOME=relative/data"}, noFolder},
        {launcher,
         {"HOME=" + home, "XDG_DATA_HOME=" + blocked},
         "cannot create the game's folder " + blocked + "/brisgola/Data"},
        {bare + "/games/brisgola", {"HOME=" + home}, "the game program is missing"},
        {soundless + "/games/brisgola", {"HOME=" + home}, "the game's sounds are missing"}};
    const std::string current = staged.MakeFolderBeside("current");
    for (const auto& [program, environment, message] : cases) {
        const ProgramResult result = RunWithoutDisplay(program, environment, current);
        EXPECT_TRUE(result.status == 1 &&
                    result.output.find("brisgola: " + message) != std::string::npos)
            << result.output;
    }
    EXPECT_TRUE(DescribeTree(current).empty() && DescribeTree(home).empty());
    EXPECT_EQ(ReadWholeFile(blocked + "/brisgola"), "not a folder");
}
