#include "tests/e2e/GameTest.h"

#include "game/Product.h"
#include "game/RoundRules.h"

class GameWindow : public GameTest {};

TEST_F(GameWindow, HasTheProductTitleAFixedSizeAndOpensOnTheIdleBoard) {
    const Window window = driver.GetGameWindow();
    EXPECT_EQ(driver.windows.Title(window),
              std::string(kProductName) + " Copyright (c) 2026 The Brisgola Authors");
    EXPECT_EQ(driver.windows.Class(window),
              (std::vector<std::string>{"Brisgola.exe", "Brisgola.exe"}));
    // Minimum and maximum size equal: the window manager offers no resizing.
    EXPECT_EQ(driver.windows.SizeHints(window), (std::vector<int>{800, 600, 800, 600}));
    EXPECT_EQ(driver.windows.Size(window), (std::vector<int>{800, 600}));

    EXPECT_TRUE(driver.IdleBoardShown()) << DescribeBoard();
    EXPECT_TRUE(driver.ScoreLineShows(""));
    EXPECT_TRUE(driver.StatusLineShows(""));
    // The same readings tell other states apart, so the ones above are not vacuous.
    EXPECT_FALSE(driver.StartCaptionShows("CANCEL"));
    EXPECT_FALSE(driver.StartCaptionShows("START "));
    EXPECT_FALSE(driver.ScoreLineShows("Score: 0 - 0"));
    EXPECT_FALSE(driver.StatusLineShows("Game over!"));
}
