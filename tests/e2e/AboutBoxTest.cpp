#include "tests/e2e/GameTest.h"

#include <X11/keysym.h>

namespace {

class AboutBox : public GameTest {
protected:
    // Opens the box with Info and waits until the window manager shows it.
    Window Open() {
        driver.ClickCentre(kInfoButtonArea);
        return driver.WaitForDialog(kAboutDialogTitle, kDialogTimeoutMs);
    }
    // The links are blue text, left-aligned, on the toolkit's default grey.
    bool LinkShows(Window about, const Area& link, const std::string& text) {
        return driver.TextShownIn(about, link.x, link.y, link.w, link.h, text, 0x0000ff, 0xaaaaaa,
                                  kTextLeft);
    }
};

const char* const kWebAddress = "https://www.brisgola.org";
const char* const kMailAddress = "info@brisgola.org";

} // namespace

TEST_F(AboutBox, LinksRunTheBrowserAndTheMailComposer) {
    const Window about = Open();
    ASSERT_NE(about, 0u) << "Info opened nothing";
    // The mail address shares the web address's domain.
    EXPECT_TRUE(driver.WaitFor([&] { return LinkShows(about, kAboutWebLinkArea, kWebAddress); },
                               kDialogTimeoutMs));
    EXPECT_TRUE(LinkShows(about, kAboutMailLinkArea, kMailAddress));
    // Centred on the game window, the box covers the board's middle.
    EXPECT_EQ(driver.ResultShown(), kPictureUnknown);

    const size_t before = CommandCount();
    driver.ClickCentreIn(about, kAboutWebLinkArea);
    EXPECT_TRUE(WaitForCalls(before, "firefox", {kWebAddress}, 1, kSettleMs))
        << Describe(CommandsAfter(before));
    // The shell has removed the quotes around the address.
    driver.ClickCentreIn(about, kAboutMailLinkArea);
    EXPECT_TRUE(WaitForCalls(before, "thunderbird", {"-compose", std::string("to=") + kMailAddress},
                             1, kSettleMs))
        << Describe(CommandsAfter(before));
    EXPECT_EQ(CommandsAfter(before).size(), 2u) << Describe(CommandsAfter(before));
    EXPECT_TRUE(driver.IsWindowViewable(about));
    ExpectHealthy();

    driver.ClickCentreIn(about, kAboutOkArea);
    ASSERT_TRUE(driver.WaitForDialogGone(kAboutDialogTitle, kDialogTimeoutMs));
    // The board that the box covered is whole again, and the window takes clicks again.
    EXPECT_TRUE(driver.WaitFor([&] { return driver.IdleBoardShown(); }, kDialogTimeoutMs))
        << DescribeBoard();
    EXPECT_TRUE(StartGame()) << DescribeBoard();
}

// The keys are typed as soon as the box has the keyboard, as a person would, without first
// clicking into it.
TEST_F(AboutBox, EnterRightAfterOpeningClosesIt) {
    for (int time = 1; time <= 2; ++time) {
        SCOPED_TRACE("opening " + std::to_string(time));
        const Window about = Open();
        ASSERT_NE(about, 0u) << "Info opened nothing";
        ASSERT_TRUE(driver.WaitFor([&] { return driver.HasFocus(about); }, kDialogTimeoutMs));
        driver.TapKey(XK_Return);
        EXPECT_TRUE(driver.WaitForDialogGone(kAboutDialogTitle, kDialogTimeoutMs));
        EXPECT_TRUE(driver.WaitFor([&] { return driver.IdleBoardShown(); }, kDialogTimeoutMs))
            << DescribeBoard();
        // Closing destroyed the box's window; no other one took its place.
        EXPECT_EQ(driver.CountWindows(kAboutDialogTitle), 0);
        ExpectHealthy();
    }
}

TEST_F(AboutBox, EscapeAndDeleteCloseIt) {
    for (KeySym key : {XK_Escape, XK_Delete}) {
        SCOPED_TRACE(XKeysymToString(key));
        const Window about = Open();
        ASSERT_NE(about, 0u) << "Info opened nothing";
        // The previous box's window is gone; only the new one exists.
        EXPECT_EQ(driver.CountWindows(kAboutDialogTitle), 1);
        ASSERT_TRUE(driver.WaitFor([&] { return driver.HasFocus(about); }, kDialogTimeoutMs));
        driver.TapKey(key);
        EXPECT_TRUE(driver.WaitForDialogGone(kAboutDialogTitle, kDialogTimeoutMs));
        EXPECT_TRUE(driver.WaitFor([&] { return driver.IdleBoardShown(); }, kDialogTimeoutMs))
            << DescribeBoard();
    }
    ExpectHealthy();
}

TEST_F(AboutBox, ClickOnTheWindowBehindItBeepsAndRaisesTheBox) {
    const Window about = Open();
    ASSERT_NE(about, 0u) << "Info opened nothing";
    const size_t before = CommandCount();
    driver.Click(60, 560);
    EXPECT_TRUE(WaitForCalls(before, "aplay", kBeep, 1, kSettleMs))
        << Describe(CommandsAfter(before));
    EXPECT_TRUE(driver.WaitFor([&] { return driver.IsStackedAbove(about, driver.GetGameWindow()); },
                               kDialogTimeoutMs));
    ExpectHealthy();
}
