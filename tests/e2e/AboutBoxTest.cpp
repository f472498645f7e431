#include "tests/e2e/GameTest.h"

#include "game/Product.h"
#include "game/RoundRules.h"
#include "gui/graphics/DrawingContext.h"
#include "tools/harness/WaitUntil.h"

namespace {

class AboutBox : public GameTest {
  protected:
    // Opens the box with Info and waits until it is in reach, with the keyboard.
    Window Open() {
        driver.Press(kInfoButtonArea);
        const Window about = driver.windows.WaitForTitled(kAboutDialogTitle, kDialogTimeoutMs);
        EXPECT_EQ(DialogFaults(about), "");
        return about;
    }
    // The links are blue text, left-aligned, on the toolkit's default grey.
    bool LinkShows(Window about, const Area& link, const std::string& text) {
        return driver.TextShownIn(about, link, text, 0x0000ff, 0xaaaaaa, kAlignLeft);
    }
};

} // namespace

TEST_F(AboutBox, LinksStartTheirProgramsWhileTheGameWaitsBehindTheBoxUntilItCloses) {
    const Window about = Open();
    ASSERT_NE(about, 0u) << "Info opened nothing";
    // The mail address shares the web address's domain.
    EXPECT_TRUE(
        WaitUntil([&] { return LinkShows(about, GameDriver::AboutWebLinkArea(), kWebAddress); },
                  kDialogTimeoutMs));
    EXPECT_TRUE(LinkShows(about, GameDriver::AboutMailLinkArea(), "info@brisgola.org"));

    // Keys other than Enter, Escape and Delete leave the box open, so the click behind it that
    // follows still beeps and brings the box back on top, with the keyboard.
    driver.input.TapKey(XK_a);
    size_t before = CallCount();
    driver.input.Click(driver.GetGameWindow(), 60, 560);
    EXPECT_TRUE(WaitForCalls(before, "aplay", {kBeepSound}));
    EXPECT_EQ(DialogFaults(about), "") << "after a click on the game";

    // A browser that stays open does not hold the box up: the mail link answers meanwhile.
    // The shell has removed the quotes around the mail address.
    standIns.Install("firefox", StandIns::Ending::kHoldUntilRelease);
    before = CallCount();
    // The mail link is pressed once the browser has started. Sent a millisecond after the web
    // link's click, about 1 run in 40 under load (openbox, xfwm4 and i3), the server handed
    // the game the web link's press, a motion and a release over the mail link, and never the
    // web link's release nor the mail link's press; no mouse by hand comes that fast.
    driver.PressIn(about, GameDriver::AboutWebLinkArea());
    EXPECT_TRUE(WaitForCalls(before, "firefox", {kWebAddress})) << DescribeCalls(before);
    driver.PressIn(about, GameDriver::AboutMailLinkArea());
    EXPECT_TRUE(WaitForCalls(before, "thunderbird", {"-compose", "to=info@brisgola.org"}))
        << DescribeCalls(before);
    EXPECT_EQ(CallCount(), before + 2) << DescribeCalls(before);

    // OK, Enter, Escape or Delete close the box, and Info makes a new one in place of the old.
    const KeySym closers[] = {NoSymbol, XK_Return, XK_Escape, XK_Delete};
    for (const KeySym key : closers) {
        SCOPED_TRACE(key == NoSymbol ? "OK" : XKeysymToString(key));
        if (key == NoSymbol) {
            driver.PressIn(about, GameDriver::AboutOkArea());
        } else {
            // Typed as soon as the box has the keyboard, without clicking into it first.
            ASSERT_NE(Open(), 0u) << "Info opened nothing";
            EXPECT_EQ(driver.windows.CountTitled(kAboutDialogTitle), 1);
            driver.input.TapKey(key);
        }
        ASSERT_TRUE(driver.windows.WaitUntilGone(kAboutDialogTitle, kDialogTimeoutMs));
        // The board that the box covered is whole again.
        EXPECT_TRUE(WaitUntil([&] { return driver.IdleBoardShown(); }, kDialogTimeoutMs))
            << DescribeBoard();
    }
    EXPECT_TRUE(StartGame()) << "the game does not take clicks again; " << DescribeBoard();
}
