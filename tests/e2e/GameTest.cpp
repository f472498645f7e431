#include "tests/e2e/GameTest.h"

#include <algorithm>
#include <sstream>

#include "game/RoundRules.h"
#include "gui/controls/FormMsgBox.h"
#include "tools/harness/ProcReader.h"
#include "tools/harness/WaitUntil.h"

GameTest::Expected GameTest::ExpectedRound(int playerHand, int computerHand) {
    // Hands i and 5 - i show one gesture, so a tie is a pair that adds up to 5.
    const int beaten[] = {kComputerRock, kComputerScissors, kComputerPaper};
    if (playerHand + computerHand == kComputerPaper) {
        return {kTieFrame, "", 0, 0};
    }
    if (beaten[playerHand] == computerHand) {
        return {kWonFrame, "Data/applauso.wav", 1, 0};
    }
    return {kLostFrame, "Data/risata.wav", 0, 1};
}

std::string GameTest::ScoreLine(int player, int computer) {
    return "Score: " + std::to_string(player) + " - " + std::to_string(computer);
}

void GameTest::SetUp() {
    ASSERT_TRUE(driver.IsConnected()) << "these tests need DISPLAY with the XTest extension";
    ASSERT_TRUE(game.Start(BRISGOLA_GAME, BRISGOLA_SOUNDS_DIR));
    ASSERT_TRUE(driver.FindGameWindow(kWindowTimeoutMs))
        << "no game window; stderr: " << game.Errors();
    ASSERT_TRUE(WaitUntil([&] { return driver.IdleBoardShown(); }, kWindowTimeoutMs))
        << "no idle board at start: " << DescribeBoard();
}

void GameTest::TearDown() {
    if (game.Program().Pid() <= 0) {
        return;
    }
    if (game.Program().IsRunning()) {
        ExpectHealthy();
        QuitThroughQuestion();
    }
    if (game.Program().IsRunning()) {
        ADD_FAILURE() << "the game did not end through the exit question; sending SIGTERM";
        return;
    }
    // A clean end: status 0, nothing on stderr, nothing logged, only Data/ left as it was.
    EXPECT_EQ(game.Program().ExitStatus(), 0);
    EXPECT_EQ(game.Errors(), "");
    EXPECT_EQ(game.LogText(), "") << "standard output: " << game.Output();
    const std::vector<std::string> entries = game.FolderEntries();
    EXPECT_TRUE(entries == std::vector<std::string>{"Data"} ||
                entries == (std::vector<std::string>{"Data", "log.txt"}));
    EXPECT_EQ(game.FolderEntries("Data"),
              (std::vector<std::string>{"applauso.wav", "beep.wav", "risata.wav"}));
}

bool GameTest::StartGame() {
    driver.Press(kStartButtonArea);
    return WaitUntil([&] { return driver.StartCaptionShows("CANCEL"); }, kStepTimeoutMs);
}

void GameTest::QuitThroughQuestion() {
    if (Window about = driver.windows.FindTitled(kAboutDialogTitle)) {
        driver.PressIn(about, GameDriver::AboutOkArea());
        driver.windows.WaitUntilGone(kAboutDialogTitle, kDialogTimeoutMs);
    }
    Window question = driver.windows.FindTitled(kExitDialogTitle);
    if (question == 0) {
        driver.Press(kExitButtonArea);
        question = driver.windows.WaitForTitled(kExitDialogTitle, kDialogTimeoutMs);
    }
    if (question != 0) {
        driver.PressIn(question, FormMsgBox::kYesArea);
        game.Program().WaitForExit(kExitTimeoutMs);
    }
}

std::string GameTest::DescribeBoard() {
    std::ostringstream text;
    text << "result " << GameDriver::ResultName(driver.ResultShown()) << ", computer "
         << GameDriver::HandName(driver.ComputerHandShown()) << ", player "
         << GameDriver::HandName(driver.PlayerHandShown()) << ", choices";
    for (int hand = kPlayerPaper; hand <= kPlayerScissors; ++hand) {
        text << " " << GameDriver::HandName(driver.ChoiceShown(hand));
    }
    text << ", logo and frame " << (driver.DecorationShown() ? "shown" : "not shown")
         << ", caption START " << (driver.StartCaptionShows("START") ? "yes" : "no")
         << ", caption CANCEL " << (driver.StartCaptionShows("CANCEL") ? "yes" : "no");
    return text.str();
}

std::vector<StandIns::Call> GameTest::CallsAfter(size_t count) {
    std::vector<StandIns::Call> calls = game.Recorded().Calls();
    calls.erase(calls.begin(), calls.begin() + static_cast<long>(std::min(count, calls.size())));
    return calls;
}

int GameTest::CountCalls(const std::vector<StandIns::Call>& calls, const std::string& program,
                         const std::vector<std::string>& arguments) {
    return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const StandIns::Call& call) {
        return call.program == program && call.arguments == arguments;
    }));
}

bool GameTest::WaitForCalls(size_t after, const std::string& program,
                            const std::vector<std::string>& arguments, int times, int timeoutMs) {
    return WaitUntil([&] { return CountCalls(CallsAfter(after), program, arguments) >= times; },
                     timeoutMs);
}

std::string GameTest::Describe(const std::vector<StandIns::Call>& calls) {
    std::ostringstream text;
    for (const StandIns::Call& call : calls) {
        text << "\n  " << call.program;
        for (const std::string& argument : call.arguments) {
            text << " [" << argument << "]";
        }
    }
    return calls.empty() ? "none" : text.str();
}

void GameTest::ExpectHealthy() {
    EXPECT_TRUE(game.Program().IsRunning())
        << "the game ended with status " << game.Program().ExitStatus();
    // The game reaps its sound and link children without blocking, so a zombie may live for
    // a moment; one that stays is a leak.
    const pid_t pid = game.Program().Pid();
    EXPECT_TRUE(WaitUntil([&] { return ZombieChildrenOf(pid).empty(); }, kSettleMs))
        << ZombieChildrenOf(pid).size() << " zombie children of the game";
    EXPECT_EQ(game.Errors(), "");
}
