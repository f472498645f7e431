#include <chrono>
#include <gtest/gtest.h>
#include <thread>

#include "app/Application.h"
#include "app/EventLoop.h"
#include "game/FormAbout.h"
#include "game/FormMain.h"
#include "game/RoundRules.h"
#include "gui/controls/ButtonCustom.h"
#include "gui/controls/CellControl.h"
#include "gui/controls/FormMsgBox.h"
#include "gui/controls/Timer.h"
#include "gui/core/PackedPoint.h"
#include "gui/graphics/ImageFrame.h"
#include "gui/graphics/MyImage.h"
#include "support/DisplayTest.h"
#include "util/FileUtils.h"
#include "util/TextFile.h"

namespace {

int Frame(ImageFrame* frame) { return PointX(frame->GetFrame()); }

class FormMainTest : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        game = std::make_unique<FormMain>(screen.get(), "Brisgola test");
        XSync(screen->GetDisplay(), False);
        ASSERT_TRUE(xtest::WaitForViewable(observer, game->GetWindow()));
        ASSERT_TRUE(xtest::PumpUntil(game.get(), [] { return !firstPaint; }));
    }
    void TearDown() override {
        Application::currentMsgBox.reset();
        game.reset();
        DisplayTest::TearDown();
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

    std::unique_ptr<FormMain> game;
};

} // namespace

TEST_F(FormMainTest, ElementsSitWhereTheLayoutPutsThem) {
    EXPECT_EQ(game->GetSize(), PackPoint(800, 600));
    EXPECT_EQ(mainForm, game.get());
    struct Place {
        GUIElement* element;
        int x, y, w, h;
    };
    const Place places[] = {
        {game->GetLogo(), 28, 22, 163, 50},
        {game->GetInfoButton(), 552, 30, 100, 28},
        {game->GetExitButton(), 672, 30, 100, 28},
        {game->GetStartButton(), 432, 30, 100, 28},
        {game->GetScoreLabel(), 432, 65, 160, 18},
        {game->GetStatusLabel(), 250, 85, 300, 18},
        {game->GetHandComputer(), 201, 209, 70, 100},
        {game->GetHandPlayer(), 518, 209, 70, 100},
        {game->GetResultFrame(), 333, 209, 133, 100},
        {game->GetChoicePaper(), 230, 469, 70, 100},
        {game->GetChoiceRock(), 350, 469, 70, 100},
        {game->GetChoiceScissors(), 470, 469, 70, 100},
    };
    for (const Place& place : places) {
        EXPECT_EQ(place.element->GetPosition(), PackPoint(place.x, place.y)) << place.x;
        EXPECT_EQ(place.element->GetSize(), PackPoint(place.w, place.h)) << place.x;
    }
    EXPECT_EQ(game->GetStartButton()->GetText(), "START");
    EXPECT_TRUE(game->GetStartButton()->HasMarkB());
    EXPECT_EQ(game->GetTimer()->GetInterval(), 1000u);
    EXPECT_FALSE(game->GetTimer()->IsRunning());
}

TEST_F(FormMainTest, FirstPaintShowsTheIdleBoard) {
    EXPECT_EQ(Frame(game->GetResultFrame()), kTitleFrame);
    EXPECT_TRUE(game->GetResultFrame()->IsVisible());
    EXPECT_EQ(Frame(game->GetHandComputer()), kComputerScissors);
    EXPECT_EQ(Frame(game->GetHandPlayer()), kPlayerRock);
    EXPECT_FALSE(game->GetChoicePaper()->IsVisible());
    EXPECT_FALSE(game->GetChoiceRock()->IsVisible());
    EXPECT_FALSE(game->GetChoiceScissors()->IsVisible());
    EXPECT_EQ(game->GetScoreLabel()->GetText(), "");
    XSync(screen->GetDisplay(), False);
    EXPECT_EQ(xtest::CountPixels(observer, game->GetWindow(), 230, 469, 310, 100, 0), 31000)
        << "no choice pictures on screen";
    EXPECT_LT(xtest::CountPixels(observer, game->GetWindow(), 333, 209, 133, 100, 0), 13300)
        << "the title picture is drawn";
}

TEST_F(FormMainTest, StartBeginsAGameAndCancelReturnsToTheIdleBoard) {
    Press(game->GetStartButton());
    EXPECT_TRUE(game->IsRunning());
    EXPECT_EQ(game->GetStartButton()->GetText(), "CANCEL");
    EXPECT_EQ(game->GetScoreLabel()->GetText(), "Score: 0 - 0");
    EXPECT_TRUE(game->GetTimer()->IsRunning());
    EXPECT_FALSE(game->GetResultFrame()->IsVisible());
    EXPECT_FALSE(game->GetHandComputer()->IsVisible());
    EXPECT_FALSE(game->GetHandPlayer()->IsVisible());

    Press(game->GetStartButton());
    EXPECT_FALSE(game->IsRunning());
    EXPECT_FALSE(game->GetTimer()->IsRunning());
    EXPECT_EQ(game->GetStartButton()->GetText(), "START");
    EXPECT_TRUE(game->GetResultFrame()->IsVisible());
    EXPECT_EQ(Frame(game->GetHandComputer()), kComputerScissors);
    EXPECT_EQ(game->GetScoreLabel()->GetText(), "Score: 0 - 0") << "kept until the next game";
}

TEST_F(FormMainTest, AChoiceShowsBothHandsTheResultAndTheScore) {
    Press(game->GetStartButton());
    PlayRound(game->GetChoiceRock(), kComputerScissors);
    EXPECT_EQ(Frame(game->GetResultFrame()), kWonFrame);
    EXPECT_TRUE(game->GetResultFrame()->IsVisible());
    EXPECT_EQ(Frame(game->GetHandPlayer()), kPlayerRock);
    EXPECT_TRUE(game->GetHandPlayer()->IsVisible());
    EXPECT_TRUE(game->GetHandComputer()->IsVisible());
    EXPECT_EQ(game->GetScoreLabel()->GetText(), "Score: 1 - 0");

    PlayRound(game->GetChoicePaper(), kComputerScissors);
    EXPECT_EQ(Frame(game->GetResultFrame()), kLostFrame);
    EXPECT_EQ(Frame(game->GetHandPlayer()), kPlayerPaper);
    PlayRound(game->GetChoiceScissors(), kComputerScissors);
    EXPECT_EQ(Frame(game->GetResultFrame()), kTieFrame);
    EXPECT_EQ(game->GetScoreLabel()->GetText(), "Score: 1 - 1");
    game->GetTimer()->Stop();
    // Without sound files the player says so and the game goes on.
    const std::vector<std::string> log = LogLines();
    EXPECT_EQ(log, (std::vector<std::string>{"Data/applauso.wav non trovato.",
                                             "Data/risata.wav non trovato."}));
}

TEST_F(FormMainTest, TheTenthWinEndsTheGameTwoTicksAfterTheClick) {
    Press(game->GetStartButton());
    game->GetTimer()->Stop(); // the test ticks by hand
    for (int round = 0; round < 10; ++round) {
        PlayRound(game->GetChoicePaper(), kComputerRock);
    }
    EXPECT_EQ(game->GetScoreLabel()->GetText(), "Score: 10 - 0");
    EXPECT_TRUE(game->IsRunning());
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

TEST_F(FormMainTest, TheCountdownStepsOnlyAfterMoreThanASecond) {
    Press(game->GetStartButton());
    game->GetTimer()->Stop();
    game->OnTimer();
    EXPECT_EQ(Frame(game->GetResultFrame()), kTitleFrame) << "no whole second has passed";
    EXPECT_FALSE(game->GetResultFrame()->IsVisible());
    std::this_thread::sleep_for(std::chrono::milliseconds(2100));
    game->OnTimer();
    EXPECT_EQ(Frame(game->GetResultFrame()), kCountdownThree);
    EXPECT_TRUE(game->GetResultFrame()->IsVisible());
    EXPECT_EQ(LogLines(), std::vector<std::string>{"Data/beep.wav non trovato."});
}

TEST_F(FormMainTest, TicksDoNothingWithoutAGame) {
    game->OnTimer();
    std::this_thread::sleep_for(std::chrono::milliseconds(2100));
    game->OnTimer();
    EXPECT_EQ(Frame(game->GetResultFrame()), kTitleFrame);
    EXPECT_TRUE(LogLines().empty());
}

TEST_F(FormMainTest, ExitAsksAndOnlyYesQuits) {
    Press(game->GetExitButton());
    auto* box = static_cast<FormMsgBox*>(Application::currentMsgBox.get());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->GetTitle(), "Exit");
    EXPECT_EQ(box->GetLabel()->GetText(), "Do you really want to go exit?");
    EXPECT_EQ(box->GetCode(), kExitQuestionCode);
    EXPECT_FALSE(game->IsEnabled());
    EXPECT_FALSE(Application::quitRequested);

    box->OnButton(box->GetNoButton());
    EXPECT_FALSE(Application::quitRequested);
    EXPECT_TRUE(game->IsEnabled());

    EXPECT_FALSE(game->OnClosing()) << "the close box only asks";
    box = static_cast<FormMsgBox*>(Application::currentMsgBox.get());
    box->OnButton(box->GetYesButton());
    EXPECT_TRUE(Application::quitRequested);
}

TEST_F(FormMainTest, InfoOpensTheAboutBoxFilledWithTheProductTexts) {
    Press(game->GetInfoButton());
    FormAbout* about = game->GetAboutForm();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->IsCreated());
    EXPECT_TRUE(about->IsDialog());
    EXPECT_EQ(about->GetTitle(), "Info...");
    EXPECT_FALSE(game->IsEnabled());
    EXPECT_EQ(game->GetModalChild(), about);
    EXPECT_EQ(about->GetWebLink()->GetText(), "https://www.brisgola.org");
    EXPECT_EQ(about->GetWebLink()->GetText().size(), 24u);
    EXPECT_EQ(about->GetMailLink()->GetText(), "info@brisgola.org");
}
