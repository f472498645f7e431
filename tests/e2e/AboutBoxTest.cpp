#include "tests/e2e/GameTest.h"

#include "game/Product.h"
#include "gui/graphics/DrawingContext.h"
#include "tools/harness/WaitUntil.h"

namespace {

class AboutBox : public GameTest {
protected:
    // Opens the box with Info and waits until the window manager shows it.
    Window Open() {
        driver.Press(kInfoButtonArea);
        return driver.windows.WaitForTitled(kAboutDialogTitle, kDialogTimeoutMs);
    }
    // The links are blue text, left-aligned, on the toolkit's default grey.
    bool LinkShows(Window about, const Area& link, const std::string& text) {
        return driver.TextShownIn(about, link, text, 0x0000ff, 0xaaaaaa, kAlignLeft);
    }
};

const char* const kMailAddress = "info@brisgola.org";

} // namespace

TEST_F(AboutBox, LinksRunTheBrowserAndTheMailComposer) {
    const Window about = Open();
    ASSERT_NE(about, 0u) << "Info opened nothing";
    // The mail address shares the web address's domain.
    EXPECT_TRUE(WaitUntil(
        [&] { return LinkShows(about, GameDriver::AboutWebLinkArea(), kWebAddress); },
        kDialogTimeoutMs));
    EXPECT_TRUE(LinkShows(about, GameDriver::AboutMailLinkArea(), kMailAddress));

    const size_t before = game.Recorded().Calls().size();
    driver.PressIn(about, GameDriver::AboutWebLinkArea());
    EXPECT_TRUE(WaitForCalls(before, "firefox", {kWebAddress}, 1, kSettleMs))
        << Describe(CallsAfter(before));
    // The shell has removed the quotes around the address.
    driver.PressIn(about, GameDriver::AboutMailLinkArea());
    EXPECT_TRUE(WaitForCalls(before, "thunderbird",
                             {"-compose", std::string("to=") + kMailAddress}, 1, kSettleMs))
        << Describe(CallsAfter(before));
    EXPECT_EQ(CallsAfter(before).size(), 2u) << Describe(CallsAfter(before));
    EXPECT_TRUE(driver.windows.IsShown(about));

    driver.PressIn(about, GameDriver::AboutOkArea());
    ASSERT_TRUE(driver.windows.WaitUntilGone(kAboutDialogTitle, kDialogTimeoutMs));
    // The board that the box covered is whole again, and the window takes clicks again.
    EXPECT_TRUE(WaitUntil([&] { return driver.IdleBoardShown(); }, kDialogTimeoutMs))
        << DescribeBoard();
    EXPECT_TRUE(StartGame()) << DescribeBoard();
}

// The keys are typed as soon as the box has the keyboard, as a person would, without first
// clicking into it.
TEST_F(AboutBox, EnterEscapeOrDeleteRightAfterOpeningCloseIt) {
    for (KeySym key : {XK_Return, XK_Escape, XK_Delete}) {
        SCOPED_TRACE(XKeysymToString(key));
        const Window about = Open();
        ASSERT_NE(about, 0u) << "Info opened nothing";
        // The previous box's window is gone; only the new one exists.
        EXPECT_EQ(driver.windows.CountTitled(kAboutDialogTitle), 1);
        ASSERT_TRUE(WaitUntil([&] { return driver.windows.HasFocus(about); }, kDialogTimeoutMs));
        driver.input.TapKey(key);
        EXPECT_TRUE(driver.windows.WaitUntilGone(kAboutDialogTitle, kDialogTimeoutMs));
        EXPECT_TRUE(WaitUntil([&] { return driver.IdleBoardShown(); }, kDialogTimeoutMs))
            << DescribeBoard();
        EXPECT_EQ(driver.windows.CountTitled(kAboutDialogTitle), 0);
    }
}

TEST_F(AboutBox, ClickBehindItBeepsAndRaisesTheBox) {
    const Window about = Open();
    ASSERT_NE(about, 0u) << "Info opened nothing";
    const size_t before = game.Recorded().Calls().size();
    driver.input.Click(driver.GetGameWindow(), 60, 560);
    EXPECT_TRUE(WaitForCalls(before, "aplay", kBeep, 1, kSettleMs)) << Describe(CallsAfter(before));
    EXPECT_TRUE(WaitUntil(
        [&] { return driver.windows.IsStackedAbove(about, driver.GetGameWindow()); },
        kDialogTimeoutMs));
}
