#include "tests/e2e/GameTest.h"

#include <algorithm>

#include "game/BoardLayout.h"
#include "tools/showcase/Showcase.h"

namespace {

class ShowcaseRun : public GameTest {};

// The face colour of the game's dialogs, which the board itself never shows.
const unsigned long kDialogColour = 0xaaaaaa;

} // namespace

TEST_F(ShowcaseRun, ShootsEveryMomentItReachesAndEndsTheGameThroughTheQuestion) {
    TempFolder shots;
    Showcase showcase(driver, shots.Path(), 2, 7);
    ASSERT_TRUE(showcase.Run()) << showcase.Error() << "; " << DescribeBoard();
    ASSERT_TRUE(game.WaitForExit(kRoundTimeoutMs));
    EXPECT_EQ(showcase.RoundsPlayed(), 2);

    // The moments in the order they came, each kind of result once if it came at all.
    std::vector<std::string> names;
    std::vector<std::string> expected = {"idle-board", "about-box", "countdown", "choices"};
    for (const Showcase::Shot& shot : showcase.Shots()) {
        names.push_back(shot.name);
        if (shot.name == "win" || shot.name == "loss" || shot.name == "tie") {
            expected.push_back(shot.name);
        }
    }
    expected.push_back("exit-question");
    EXPECT_EQ(names, expected);
    const int ties = 2 - showcase.PlayerScore() - showcase.ComputerScore();
    EXPECT_EQ(std::count(names.begin(), names.end(), "win"), showcase.PlayerScore() > 0);
    EXPECT_EQ(std::count(names.begin(), names.end(), "loss"), showcase.ComputerScore() > 0);
    EXPECT_EQ(std::count(names.begin(), names.end(), "tie"), ties > 0);

    // Each file holds what the screen showed over the game window, a dialog on top in the
    // dialogs' pictures only.
    for (const Showcase::Shot& shot : showcase.Shots()) {
        SCOPED_TRACE(shot.name);
        std::string error;
        const PngImage png = PngImage::Read(shots.Path() + "/" + shot.name + ".png", error);
        ASSERT_FALSE(png.IsEmpty()) << error;
        EXPECT_EQ(png.Width(), kWindowWidth);
        EXPECT_EQ(png.Pixels(), shot.picture.Pixels());
        const bool dialog = shot.name == "about-box" || shot.name == "exit-question";
        EXPECT_EQ(std::count(png.Pixels().begin(), png.Pixels().end(), kDialogColour) > 10000,
                  dialog);
    }
}
