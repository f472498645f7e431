#include "tests/e2e/GameTest.h"

#include <algorithm>

#include "game/Pictures.h"
#include "support/TempFolder.h"
#include "tools/driver/ExpectedPixels.h"
#include "tools/showcase/Showcase.h"

namespace {

class ShowcaseRun : public GameTest {};

const int kWidth = 800;
const int kHeight = 600;
// Where the board shows the logo, and the face colour of the game's dialogs.
const int kLogoX = 28;
const int kLogoY = 22;
const unsigned long kDialogColour = 0xaaaaaa;

std::vector<unsigned long> Crop(const std::vector<unsigned long>& pixels, int x, int y, int w,
                                int h) {
    std::vector<unsigned long> part;
    for (int row = y; row < y + h; ++row) {
        const auto from = pixels.begin() + static_cast<long>(row) * kWidth + x;
        part.insert(part.end(), from, from + w);
    }
    return part;
}

long CountColour(const std::vector<unsigned long>& pixels, unsigned long colour) {
    return std::count(pixels.begin(), pixels.end(), colour);
}

} // namespace

TEST_F(ShowcaseRun, ShootsEveryMomentItReachesAndEndsTheGameThroughTheQuestion) {
    TempFolder shots;
    Showcase showcase(driver, shots.Path(), 2, 7);
    ASSERT_TRUE(showcase.Run()) << showcase.Error() << "; " << DescribeBoard();
    ASSERT_TRUE(game.Program().WaitForExit(kExitTimeoutMs));

    EXPECT_EQ(showcase.RoundsPlayed(), 2);
    EXPECT_FALSE(showcase.GameOver());
    const int ties = 2 - showcase.PlayerScore() - showcase.ComputerScore();
    ASSERT_GE(ties, 0);

    // The moments in the order they came, each round's result once per kind.
    std::vector<std::string> expected = {"idle-board", "about-box", "countdown", "choices"};
    std::vector<std::string> results;
    for (const Showcase::Shot& shot : showcase.Shots()) {
        if (shot.name == "win" || shot.name == "loss" || shot.name == "tie") {
            results.push_back(shot.name);
        }
    }
    EXPECT_EQ(std::count(results.begin(), results.end(), "win"), showcase.PlayerScore() > 0);
    EXPECT_EQ(std::count(results.begin(), results.end(), "loss"), showcase.ComputerScore() > 0);
    EXPECT_EQ(std::count(results.begin(), results.end(), "tie"), ties > 0);
    expected.insert(expected.end(), results.begin(), results.end());
    expected.push_back("exit-question");
    std::vector<std::string> names;
    for (const Showcase::Shot& shot : showcase.Shots()) {
        names.push_back(shot.name);
    }
    EXPECT_EQ(names, expected);
    const std::vector<std::string> missed = showcase.Missed();
    EXPECT_NE(std::find(missed.begin(), missed.end(), "Game over!"), missed.end());
    EXPECT_EQ(missed.size() + names.size(), Showcase::Moments().size());

    // Each file holds what the screen showed.
    const std::vector<unsigned long> logo = DecodePicture(imgLOGO, wLOGO, hLOGO);
    ASSERT_FALSE(logo.empty());
    for (const Showcase::Shot& shot : showcase.Shots()) {
        EXPECT_EQ(shot.path, shots.Path() + "/" + shot.name + ".png");
        std::string error;
        const PngImage png = PngImage::Read(shot.path, error);
        ASSERT_FALSE(png.IsEmpty()) << shot.name << ": " << error;
        EXPECT_EQ(png.Width(), kWidth) << shot.name;
        EXPECT_EQ(png.Height(), kHeight) << shot.name;
        EXPECT_EQ(png.Pixels(), shot.picture.Pixels()) << shot.name;
        EXPECT_EQ(Crop(png.Pixels(), kLogoX, kLogoY, wLOGO, hLOGO), logo) << shot.name;
    }
    // The dialogs are in their pictures, on top of the board, and nowhere else.
    for (const Showcase::Shot& shot : showcase.Shots()) {
        const long dialog = CountColour(shot.picture.Pixels(), kDialogColour);
        if (shot.name == "about-box" || shot.name == "exit-question") {
            EXPECT_GT(dialog, 10000) << shot.name;
        } else {
            EXPECT_EQ(dialog, 0) << shot.name;
        }
    }
}
