#include "tests/e2e/GameTest.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <sys/stat.h>

#include "gui/controls/FormMsgBox.h"
#include "tools/harness/ProcReader.h"
#include "tools/harness/WaitUntil.h"
#include "tools/harness/WholeFile.h"

namespace {

const int kStartTimeoutMs = 15000;
const std::vector<std::string> kDataFolder = {"Data", "Data/applauso.wav", "Data/beep.wav",
                                              "Data/risata.wav"};

} // namespace

GameTest::GameTest() {
    for (const char* program : {"aplay", "firefox", "thunderbird"}) {
        standIns.Install(program);
    }
}

void GameTest::SetUp() {
    MakeWorkFolder(true);
    if (!HasFatalFailure()) {
        Launch({}, {standIns.PathSetting()});
    }
}

void GameTest::MakeWorkFolder(bool withData) {
    ASSERT_TRUE(driver.IsConnected()) << "these tests need DISPLAY with the XTest extension";
    const std::string work = sandbox.File("work");
    ASSERT_EQ(mkdir(work.c_str(), 0755), 0);
    if (!withData) {
        return;
    }
    ASSERT_EQ(mkdir((work + "/Data").c_str(), 0755), 0);
    // The stand-in player never reads the sounds; the game only needs them to exist.
    for (size_t i = 1; i < kDataFolder.size(); ++i) {
        ASSERT_TRUE(WriteWholeFile(work + "/" + kDataFolder[i], "RIFF"));
    }
}

void GameTest::Launch(const Arguments& launcher, const Arguments& environment) {
    Arguments command = launcher;
    command.push_back(BRISGOLA_GAME);
    ASSERT_TRUE(game.Start(command, environment, sandbox.File("work"), sandbox.File("stdout"),
                           sandbox.File("stderr")));
    ASSERT_TRUE(driver.FindGameWindow(kStartTimeoutMs))
        << "no game window; stderr: " << ReadWholeFile(sandbox.File("stderr"));
    EXPECT_EQ(driver.windows.PlacementFaults(driver.GetGameWindow()), "")
        << "under " << driver.windows.ManagerName();
    ASSERT_TRUE(WaitUntil([&] { return driver.IdleBoardShown(); }, kStartTimeoutMs))
        << "no idle board at start: " << DescribeBoard();
}

void GameTest::TearDown() {
    if (game.Pid() <= 0) {
        return;
    }
    if (game.IsRunning()) {
        // The game reaps its sound and link children without blocking, so a zombie may live
        // for a moment; one that stays is a leak.
        EXPECT_TRUE(WaitUntil([&] { return ZombieChildrenOf(game.Pid()).empty(); }, kSettleMs))
            << ZombieChildrenOf(game.Pid()).size() << " zombie children of the game";
        QuitThroughQuestion();
    }
    ASSERT_FALSE(game.IsRunning()) << "the game did not end through the exit question";
    EXPECT_EQ(game.ExitStatus(), 0);
    EXPECT_EQ(ReadWholeFile(sandbox.File("stderr")), "");
    if (!checkWorkFolder) {
        return;
    }
    const std::string work = sandbox.File("work");
    EXPECT_EQ(ReadWholeFile(work + "/log.txt"), "")
        << "standard output: " << ReadWholeFile(sandbox.File("stdout"));
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(work)) {
        const std::string name = std::filesystem::relative(entry.path(), work);
        if (name != "log.txt") {
            left.push_back(name);
        }
    }
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, kDataFolder);
}

bool GameTest::StartGame() {
    driver.Press(kStartButtonArea);
    return WaitUntil([&] { return driver.StartCaptionShows(kCancelCaption); }, kStepTimeoutMs);
}

void GameTest::QuitThroughQuestion() {
    Window question = driver.windows.FindTitled(kExitDialogTitle);
    if (question == 0) {
        driver.Press(kExitButtonArea);
        question = driver.windows.WaitForTitled(kExitDialogTitle, kDialogTimeoutMs);
    }
    if (question != 0) {
        driver.PressIn(question, FormMsgBox::kYesArea);
        game.WaitForExit(kStartTimeoutMs);
    }
}

std::string GameTest::DialogFaults(Window dialog) {
    return driver.windows.DialogFaults(dialog, driver.GetGameWindow(), kDialogTimeoutMs);
}

std::string GameTest::ScoreLine(int player, int computer) {
    return "Score: " + std::to_string(player) + " - " + std::to_string(computer);
}

std::string GameTest::DescribeBoard() {
    return "result " + GameDriver::ResultName(driver.ResultShown()) + ", computer " +
           GameDriver::HandName(driver.ComputerHandShown()) + ", player " +
           GameDriver::HandName(driver.PlayerHandShown()) + ", choices " +
           (driver.ChoicesShown()    ? "shown"
            : driver.ChoicesHidden() ? "hidden"
                                     : "unclear");
}

int GameTest::CountCalls(size_t after, const std::string& program,
                         const Arguments& arguments) const {
    const std::vector<StandIns::Call> calls = standIns.Calls();
    return static_cast<int>(
        std::count_if(calls.begin() + static_cast<long>(std::min(after, calls.size())), calls.end(),
                      [&](const StandIns::Call& call) {
                          return call.program == program && call.arguments == arguments;
                      }));
}

std::string GameTest::DescribeCalls(size_t after) const {
    const std::vector<StandIns::Call> calls = standIns.Calls();
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::string list = "calls since the mark:";
    for (size_t i = after; i < calls.size(); ++i) {
        list += "\n  " + calls[i].program;
        for (const std::string& argument : calls[i].arguments) {
            list += " " + argument;
        }
        list += " (" + std::to_string(now.tv_sec + now.tv_nsec / 1e9 - calls[i].time) + " s ago)";
    }
    return list;
}

bool GameTest::WaitForCalls(size_t after, const std::string& program, const Arguments& arguments,
                            int times) {
    return WaitUntil([&] { return CountCalls(after, program, arguments) >= times; }, kSettleMs);
}
