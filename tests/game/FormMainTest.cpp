#include <chrono>
#include <gtest/gtest.h>
#include <thread>

#include "app/Application.h"
#include "game/BoardLayout.h"
#include "game/FormAbout.h"
#include "game/FormMain.h"
#include "game/RoundRules.h"
#include "gui/controls/ButtonCustom.h"
#include "gui/controls/CellControl.h"
#include "gui/controls/FormMsgBox.h"
#include "gui/controls/Timer.h"
#include "gui/core/PackedPoint.h"
#include "gui/graphics/ImageFrame.h"
#include "support/DisplayTest.h"
#include "support/EventPump.h"
#include "util/FileUtils.h"
#include "util/TextFile.h"

namespace {

int Frame(ImageFrame* frame) { return PointX(frame->GetFrame()); }

// The game window driven from inside: its buttons pressed and its clock ticked by hand, the
// computer's hand forced, and what it shows read back from the server.
class FormMainTest : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        game = std::make_unique<FormMain>(screen.get(), "Brisgola test");
        XSync(screen->GetDisplay(), False);
        ASSERT_TRUE(windows.WaitUntilManaged(game->GetWindow(), 5000));
        ASSERT_TRUE(PumpUntil(game.get(), [] { return !firstPaint; }));
    }
    void TearDown() override {
        Application::currentMsgBox.reset();
        game.reset();
    }
    void Press(ButtonCustom* button) { game->OnButton(button); }
    // Plays one round with the computer's hand forced, as if drawn at the countdown's end.
    void PlayRound(ImageFrame* choice, int computerHand) {
        game->GetHandComputer()->SetFrame(computerHand, 0);
        game->OnChoice(choice);
    }
    std::vector<std::string> LogLines() {
        return FileExists("log.txt") ? TextFile("log.txt").ReadLines()
                                     : std::vector<std::string>{};
    }
    int Black(const Area& area) {
        XSync(screen->GetDisplay(), False);
        return reader.Count(game->GetWindow(), area, kBoardColor);
    }

    std::unique_ptr<FormMain> game;
};

} // namespace

TEST_F(FormMainTest, StartBeginsAGameAndCancelReturnsToTheIdleBoard) {
    EXPECT_EQ(Black(kChoiceRowArea), kChoiceRowArea.w * kChoiceRowArea.h) << "no choices";
    EXPECT_LT(Black(kResultArea), kResultArea.w * kResultArea.h) << "the title is drawn";
    Press(game->GetStartButton());
    EXPECT_TRUE(game->IsRunning());
    EXPECT_EQ(game->GetStartButton()->GetText(), "CANCEL");
    EXPECT_EQ(game->GetScoreLabel()->GetText(), "Score: 0 - 0");
    EXPECT_TRUE(game->GetTimer()->IsRunning());
    EXPECT_EQ(Black(kResultArea), kResultArea.w * kResultArea.h) << "the board is cleared";
    EXPECT_EQ(Black(kComputerHandArea), kHandWidth * kHandHeight);

    Press(game->GetStartButton());
    EXPECT_FALSE(game->IsRunning());
    EXPECT_FALSE(game->GetTimer()->IsRunning());
    EXPECT_EQ(game->GetStartButton()->GetText(), "START");
    EXPECT_TRUE(game->GetResultFrame()->IsVisible());
    EXPECT_EQ(Frame(game->GetHandComputer()), kComputerScissors);
    EXPECT_EQ(game->GetScoreLabel()->GetText(), "Score: 0 - 0") << "kept until the next game";
}

TEST_F(FormMainTest, EachSideScoresItsWinsAndTenWinsEndTheGameTwoTicksLater) {
    Press(game->GetStartButton());
    game->GetTimer()->Stop(); // the test ticks by hand
    struct Round {
        ImageFrame* choice;
        int computer;
        int frame;
        const char* score;
    };
    const Round rounds[] = {
        {game->GetChoiceRock(), kComputerScissors, kWonFrame, "Score: 1 - 0"},
        {game->GetChoicePaper(), kComputerScissors, kLostFrame, "Score: 1 - 1"},
        {game->GetChoiceScissors(), kComputerScissors, kTieFrame, "Score: 1 - 1"},
    };
    for (const Round& round : rounds) {
        PlayRound(round.choice, round.computer);
        EXPECT_EQ(Frame(game->GetResultFrame()), round.frame) << round.score;
        EXPECT_EQ(Frame(game->GetHandPlayer()), Frame(round.choice)) << round.score;
        EXPECT_TRUE(game->GetHandPlayer()->IsVisible());
        EXPECT_TRUE(game->GetHandComputer()->IsVisible());
        EXPECT_EQ(game->GetScoreLabel()->GetText(), round.score);
    }
    // Without sound files the player says so and the game goes on.
    EXPECT_EQ(LogLines(), (std::vector<std::string>{"Data/applauso.wav non trovato.",
                                                    "Data/risata.wav non trovato."}));

    // The computer wins the game: the pause after its tenth win, then "Game over!".
    for (int round = 0; round < 9; ++round) {
        PlayRound(game->GetChoiceRock(), kComputerPaper);
    }
    EXPECT_EQ(game->GetScoreLabel()->GetText(), "Score: 1 - 10");
    game->OnTimer();
    EXPECT_TRUE(game->IsRunning()) << "the first tick starts the pause";
    game->OnTimer();
    EXPECT_FALSE(game->IsRunning());
    EXPECT_EQ(game->GetStatusLabel()->GetText(), "Game over!");
    EXPECT_EQ(game->GetStartButton()->GetText(), "START");

    Press(game->GetStartButton());
    EXPECT_EQ(game->GetScoreLabel()->GetText(), "Score: 0 - 0");
    EXPECT_EQ(game->GetStatusLabel()->GetText(), "");
    game->GetTimer()->Stop();
}

TEST_F(FormMainTest, TheCountdownStepsOnlyAfterMoreThanASecondAndOnlyInAGame) {
    game->OnTimer();
    Press(game->GetStartButton());
    game->GetTimer()->Stop();
    game->OnTimer();
    EXPECT_EQ(Frame(game->GetResultFrame()), kTitleFrame) << "no whole second has passed";
    EXPECT_FALSE(game->GetResultFrame()->IsVisible());
    std::this_thread::sleep_for(std::chrono::milliseconds(2100));
    game->OnTimer();
    EXPECT_EQ(Frame(game->GetResultFrame()), kCountdownThree);
    EXPECT_TRUE(game->GetResultFrame()->IsVisible());
    EXPECT_EQ(LogLines(), std::vector<std::string>{"Data/beep.wav non trovato."})
        << "one beep, for the step; the tick before the game did nothing";
}

TEST_F(FormMainTest, ExitAsksAndOnlyYesQuits) {
    Press(game->GetExitButton());
    auto* box = static_cast<FormMsgBox*>(Application::currentMsgBox.get());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->GetTitle(), "Exit");
    EXPECT_EQ(box->GetLabel()->GetText(), kExitQuestion);
    EXPECT_FALSE(game->IsEnabled());

    box->OnButton(box->GetNoButton());
    EXPECT_FALSE(Application::quitRequested);
    EXPECT_TRUE(game->IsEnabled());

    EXPECT_FALSE(game->OnClosing()) << "the close box only asks";
    box = static_cast<FormMsgBox*>(Application::currentMsgBox.get());
    box->OnButton(box->GetYesButton());
    EXPECT_TRUE(Application::quitRequested);
}

TEST_F(FormMainTest, InfoOpensTheAboutBoxWithTheProductAddresses) {
    Press(game->GetInfoButton());
    FormAbout* about = game->GetAboutForm();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(windows.Title(about->GetWindow()), "Info...");
    EXPECT_FALSE(game->IsEnabled());
    EXPECT_EQ(game->GetModalChild(), about);
    EXPECT_EQ(about->GetWebLink()->GetText(), "https://www.brisgola.org");
    EXPECT_EQ(about->GetMailLink()->GetText(), "info@brisgola.org");
}
