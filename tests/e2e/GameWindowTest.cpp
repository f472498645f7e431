#include "tests/e2e/GameTest.h"

#include "game/RoundRules.h"

namespace {
class GameWindow : public GameTest {};
} // namespace

TEST_F(GameWindow, HasTheProductTitleClassAndAFixedSize) {
    const Window window = driver.GetGameWindow();
    EXPECT_EQ(driver.WindowTitle(window), kGameTitle);
    EXPECT_EQ(driver.WindowClass(window),
              (std::vector<std::string>{"Brisgola.exe", "Brisgola.exe"}));
    // Minimum and maximum size equal: the window manager offers no resizing.
    EXPECT_EQ(driver.SizeHints(window), (std::vector<int>{800, 600, 800, 600}));
    EXPECT_EQ(driver.WindowSize(window), (std::vector<int>{800, 600}));
}

TEST_F(GameWindow, OpensOnTheIdleBoard) {
    EXPECT_EQ(driver.ResultShown(), kTitleFrame);
    EXPECT_EQ(driver.ComputerHandShown(), kComputerScissors);
    EXPECT_EQ(driver.PlayerHandShown(), kPlayerRock);
    EXPECT_TRUE(driver.ChoicesHidden());
    EXPECT_TRUE(driver.DecorationShown());
    EXPECT_TRUE(driver.StartCaptionShows("START"));
    EXPECT_TRUE(driver.ScoreLineShows(""));
    EXPECT_TRUE(driver.StatusLineShows(""));
    // The same readings tell other states apart, so the ones above are not vacuous.
    EXPECT_FALSE(driver.StartCaptionShows("CANCEL"));
    EXPECT_FALSE(driver.StartCaptionShows("START "));
    EXPECT_FALSE(driver.ScoreLineShows("Score: 0 - 0"));
    EXPECT_FALSE(driver.StatusLineShows("Game over!"));
    ExpectHealthy();
}
