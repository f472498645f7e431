#include "tests/e2e/GameTest.h"

#include <algorithm>
#include <sstream>

#include "game/RoundRules.h"

GameTest::Expected GameTest::ExpectedRound(int playerHand, int computerHand) {
    // The round table, written out: rock beats scissors, scissors beat paper, paper beats
    // rock; a hand against the same hand is a tie.
    struct Row {
        int player;
        int computer;
        Expected expected;
    };
    static const Row table[] = {
        {kPlayerRock, kComputerRock, {kTieFrame, "", 0, 0}},
        {kPlayerRock, kComputerPaper, {kLostFrame, "Data/risata.wav", 0, 1}},
        {kPlayerRock, kComputerScissors, {kWonFrame, "Data/applauso.wav", 1, 0}},
        {kPlayerScissors, kComputerScissors, {kTieFrame, "", 0, 0}},
        {kPlayerScissors, kComputerRock, {kLostFrame, "Data/risata.wav", 0, 1}},
        {kPlayerScissors, kComputerPaper, {kWonFrame, "Data/applauso.wav", 1, 0}},
        {kPlayerPaper, kComputerPaper, {kTieFrame, "", 0, 0}},
        {kPlayerPaper, kComputerScissors, {kLostFrame, "Data/risata.wav", 0, 1}},
        {kPlayerPaper, kComputerRock, {kWonFrame, "Data/applauso.wav", 1, 0}},
    };
    for (const Row& row : table) {
        if (row.player == playerHand && row.computer == computerHand) {
            return row.expected;
        }
    }
    return {};
}

void GameTest::SetUp() {
    ASSERT_TRUE(game.IsReady()) << "no sandbox could be made under /tmp";
    ASSERT_TRUE(driver.IsConnected()) << "these tests need DISPLAY with the XTest extension";
    ASSERT_TRUE(game.Start(BRISGOLA_GAME, BRISGOLA_SOUNDS_DIR));
    ASSERT_TRUE(driver.FindGameWindow(kWindowTimeoutMs))
        << "no game window; stderr: " << game.Errors();
    ASSERT_TRUE(driver.WaitFor([&] { return driver.IdleBoardShown(); }, kWindowTimeoutMs))
        << "no idle board at start: " << DescribeBoard();
}

void GameTest::TearDown() {
    if (game.Pid() <= 0) {
        return;
    }
    if (game.IsRunning()) {
        ExpectHealthy();
        QuitThroughQuestion();
    }
    if (game.IsRunning()) {
        ADD_FAILURE() << "the game did not end through the exit question; sending SIGTERM";
        game.Terminate();
        return;
    }
    ExpectCleanEnd();
}

bool GameTest::StartGame() {
    driver.ClickCentre(kStartButtonArea);
    return driver.WaitFor([&] { return driver.StartCaptionShows("CANCEL"); }, kStepTimeoutMs);
}

void GameTest::QuitThroughQuestion() {
    if (Window about = driver.FindDialog(kAboutDialogTitle)) {
        driver.ClickCentreIn(about, kAboutOkArea);
        driver.WaitForDialogGone(kAboutDialogTitle, kDialogTimeoutMs);
    }
    Window question = driver.FindDialog(kExitDialogTitle);
    if (question == 0) {
        driver.ClickCentre(kExitButtonArea);
        question = driver.WaitForDialog(kExitDialogTitle, kDialogTimeoutMs);
    }
    if (question == 0) {
        return;
    }
    driver.ClickCentreIn(question, kQuestionYesArea);
    game.WaitForExit(kExitTimeoutMs);
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

std::vector<RecordedCommand> GameTest::CommandsAfter(size_t count) const {
    std::vector<RecordedCommand> commands = game.Commands();
    commands.erase(commands.begin(),
                   commands.begin() + static_cast<long>(std::min(count, commands.size())));
    return commands;
}

int GameTest::CountCalls(const std::vector<RecordedCommand>& commands, const std::string& program,
                         const std::vector<std::string>& arguments) {
    return static_cast<int>(
        std::count_if(commands.begin(), commands.end(), [&](const RecordedCommand& command) {
            return command.program == program && command.arguments == arguments;
        }));
}

bool GameTest::WaitForCalls(size_t after, const std::string& program,
                            const std::vector<std::string>& arguments, int times, int timeoutMs) {
    return driver.WaitFor(
        [&] { return CountCalls(CommandsAfter(after), program, arguments) >= times; }, timeoutMs);
}

std::string GameTest::Describe(const std::vector<RecordedCommand>& commands) {
    std::ostringstream text;
    for (const RecordedCommand& command : commands) {
        text << "\n  " << command.program;
        for (const std::string& argument : command.arguments) {
            text << " [" << argument << "]";
        }
    }
    return commands.empty() ? "none" : text.str();
}

void GameTest::ExpectHealthy() {
    EXPECT_TRUE(game.IsRunning()) << "the game ended with status " << game.ExitStatus();
    // The game reaps its sound and link children without blocking, so a zombie may live for
    // a moment; one that stays is a leak.
    const bool reaped = driver.WaitFor([&] { return game.ZombieChildren().empty(); }, kSettleMs);
    EXPECT_TRUE(reaped) << game.ZombieChildren().size() << " zombie children of the game";
    EXPECT_EQ(game.Errors(), "");
}

void GameTest::ExpectCleanEnd() {
    EXPECT_EQ(game.ExitStatus(), 0);
    EXPECT_EQ(game.Errors(), "");
    EXPECT_EQ(game.LogText(), "") << "standard output: " << game.Output();
    const std::vector<std::string> entries = game.FolderEntries();
    const std::vector<std::string> expected = game.HasLog()
                                                  ? std::vector<std::string>{"Data", "log.txt"}
                                                  : std::vector<std::string>{"Data"};
    EXPECT_EQ(entries, expected);
    EXPECT_EQ(game.FolderEntries("Data"),
              (std::vector<std::string>{"applauso.wav", "beep.wav", "risata.wav"}));
}
