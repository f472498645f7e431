#include <ctime>
#include <gtest/gtest.h>

#include "game/FormMain.h"
#include "game/RoundRules.h"
#include "gui/controls/ButtonCustom.h"
#include "gui/controls/CellControl.h"
#include "gui/controls/Timer.h"
#include "gui/core/PackedPoint.h"
#include "gui/graphics/ImageFrame.h"
#include "support/DisplayTest.h"
#include "support/EventPump.h"
#include "tools/harness/WholeFile.h"

namespace {

// The clock the game reads while a test of the game runs; otherwise the real one.
const std::time_t kStart = 1800000000;
std::time_t setClock = 0;

} // namespace

// The game reads the clock through time(). Answered here, in the test program, the clock can
// be moved on at once rather than waited for.
extern "C" std::time_t time(std::time_t* answer) noexcept {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const std::time_t shown = setClock != 0 ? setClock : now.tv_sec;
    if (answer != nullptr) {
        *answer = shown;
    }
    return shown;
}

namespace {

int Frame(ImageFrame* frame) {
    return PointX(frame->GetFrame());
}

// The game window driven from inside: its buttons pressed and its clock ticked by hand, the
// computer's hand forced, and what it shows read back from the server. There are no sound
// files, so each sound the game plays leaves its file name in the log.
class FormMainTest : public DisplayTest {
  protected:
    void SetUp() override {
        DisplayTest::SetUp();
        ++gamesMade;
        setClock = kStart;
        game = std::make_unique<FormMain>(screen.get(), "Brisgola test");
        XSync(screen->GetDisplay(), False);
        ASSERT_TRUE(windows.WaitUntilManaged(game->GetWindow(), 5000));
        ASSERT_TRUE(PumpUntil(game.get(), [] { return !firstPaint; }));
    }
    void TearDown() override {
        game.reset();
        setClock = 0;
    }
    void PressStart() { game->OnButton(game->GetStartButton()); }
    // Plays one round with the computer's hand forced, as if drawn at the countdown's end.
    void PlayRound(ImageFrame* choice, int computerHand) {
        game->GetHandComputer()->SetFrame(computerHand, 0);
        game->OnChoice(choice);
    }
    // Ticks with the clock the given number of seconds after the start.
    void TickAt(int second) {
        setClock = kStart + second;
        game->OnTimer();
    }
    std::string Sounds() { return ReadWholeFile("log.txt"); }

    std::unique_ptr<FormMain> game;
    static inline int gamesMade = 0; // in this process
};

} // namespace

// A countdown step needs more than one whole second since the last step, and the pause after
// a result more than three.
TEST_F(FormMainTest, TheClockStepsOnlyOnceMoreThanItsThresholdHasPassed) {
    // The clock's state is the program's, kept from its first tick to its end, and ctest
    // gives each test a process of its own. A game that ran before in this process left it.
    if (gamesMade > 1) {
        GTEST_SKIP() << "needs a process of its own: run it alone, or through ctest";
    }
    game->OnTimer();
    PressStart();
    game->GetTimer()->Stop();
    TickAt(0);
    TickAt(1);
    EXPECT_FALSE(game->GetResultFrame()->IsVisible()) << "one second is not enough";
    TickAt(2);
    EXPECT_EQ(Frame(game->GetResultFrame()), kCountdownThree);
    EXPECT_TRUE(game->GetResultFrame()->IsVisible());
    EXPECT_EQ(Sounds(), "Data/beep.wav non trovato.\n")
        << "one beep, for the step; the tick before the game did nothing";

    PlayRound(game->GetChoiceRock(), kComputerScissors);
    TickAt(4); // the result is seen and the pause begins
    TickAt(7);
    EXPECT_EQ(Frame(game->GetResultFrame()), kWonFrame) << "three seconds are not enough";
    TickAt(8);
    EXPECT_EQ(Frame(game->GetResultFrame()), kCountdownThree);
    EXPECT_FALSE(game->GetHandPlayer()->IsVisible()) << "the next round starts on a clear board";
}

TEST_F(FormMainTest, ATenthWinEndsTheGameAtTheSecondTickAfterIt) {
    PressStart();
    game->GetTimer()->Stop(); // the test ticks by hand
    // Which hand wins, and what it shows and sounds, the whole game's runs check from outside.
    // The computer wins the game: the first tick after its tenth win starts the pause, the
    // next ends the game however soon it comes.
    for (int round = 0; round < 10; ++round) {
        PlayRound(game->GetChoiceRock(), kComputerPaper);
    }
    EXPECT_EQ(game->GetScoreLabel()->GetText(), "Score: 0 - 10");
    game->OnTimer();
    EXPECT_TRUE(game->IsRunning());
    game->OnTimer();
    // What the board then says, and that START begins anew, the whole game's run checks.
    EXPECT_FALSE(game->IsRunning());
    EXPECT_TRUE(game->GetHandComputer()->IsVisible() &&
                Frame(game->GetHandComputer()) == kComputerPaper)
        << "the last hands stay shown";
}
