#include <gtest/gtest.h>

#include "game/FormNamePlayer.h"

#include <sys/stat.h>

#include "app/Application.h"
#include "game/FormMain.h"
#include "gui/controls/ButtonCustom.h"
#include "gui/controls/TextBoxCustom.h"
#include "gui/core/PackedPoint.h"
#include "support/DisplayTest.h"
#include "support/EventPump.h"
#include "support/StandIns.h"
#include "tools/harness/WaitUntil.h"

namespace {

// The game window asking for a name, answered with real clicks and keys. Beeps go to a
// recording "aplay".
class FormNamePlayerTest : public DisplayTest {
  protected:
    void SetUp() override {
        DisplayTest::SetUp();
        ASSERT_EQ(mkdir("Data", 0777), 0);
        WriteRawFile("Data/beep.wav", "RIFF");
        sounds.Install("aplay");
        sounds.PutFirstOnPath();
        game = std::make_unique<FormMain>(screen.get(), "Brisgola test");
        ASSERT_TRUE(windows.WaitUntilManaged(game->GetWindow(), 5000));
        PumpEvents(game.get(), 50);
        Ask();
    }
    void TearDown() override { game.reset(); }

    void Ask() {
        game->AskPlayerName();
        dialog = game->GetNamePlayerForm();
        ASSERT_TRUE(windows.WaitUntilManaged(dialog->GetWindow(), 5000));
        // Keys typed go to the window the window manager has focused.
        ASSERT_TRUE(WaitUntil([&] { return windows.HasFocus(dialog->GetWindow()); }, 5000));
        PumpEvents(game.get(), 50);
    }
    void Tap(KeySym key) {
        input.TapKey(key);
        DispatchPending(game.get());
    }
    // The window manager takes a click first and hands it on, so the click is pumped until
    // what it should do is done.
    bool PressOk(const std::function<bool()>& done) {
        const int64_t at = dialog->GetOkButton()->GetPosition();
        input.Click(dialog->GetWindow(), PointX(at) + 10, PointY(at) + 10);
        return PumpUntil(game.get(), done);
    }

    StandIns sounds{workDir.Path()};
    std::unique_ptr<FormMain> game;
    FormNamePlayer* dialog = nullptr;
};

} // namespace

TEST_F(FormNamePlayerTest, TakesOnlyANameOfOneToTenCharactersAndMeanwhileHoldsTheGame) {
    EXPECT_EQ(windows.Title(dialog->GetWindow()), "Classifica");
    EXPECT_TRUE(!game->IsEnabled() && game->GetModalChild() == dialog);

    EXPECT_TRUE(PressOk([&] { return sounds.Calls().size() == 1; })) << "an empty name beeps";
    EXPECT_EQ(Application::focusedElement, dialog->GetNameBox());
    Tap(XK_Escape);
    EXPECT_TRUE(dialog->IsCreated()) << "Escape means nothing here";
    EXPECT_TRUE(playerName.empty());

    const KeySym ways[] = {XK_Return, 0, XK_Delete};
    for (const KeySym way : ways) {
        SCOPED_TRACE(way == 0 ? "OK" : XKeysymToString(way));
        input.Type("Bartholomew!");
        DispatchPending(game.get());
        EXPECT_EQ(dialog->GetNameBox()->GetText(), "Bartholome") << "ten characters at most";
        if (way == 0) {
            PressOk([&] { return !dialog->IsCreated(); });
        } else {
            Tap(way);
        }
        EXPECT_FALSE(dialog->IsCreated());
        // Delete takes the character under the caret first, which is past the name.
        EXPECT_EQ(playerName, "Bartholome");
        EXPECT_TRUE(game->IsEnabled() && game->GetModalChild() == nullptr);
        Ask();
        EXPECT_TRUE(playerName.empty()) << "a new dialog forgets the last name";
    }
}

// Closed by the window manager, as with its close button, the dialog gives the game back and
// keeps no name, whatever was typed.
TEST_F(FormNamePlayerTest, AWindowManagerCloseReleasesTheGameAndKeepsNoName) {
    input.Type("Anna");
    DispatchPending(game.get());
    windows.RequestClose(dialog->GetWindow());
    EXPECT_TRUE(PumpUntil(game.get(), [&] { return !dialog->IsCreated(); }));
    EXPECT_TRUE(game->IsEnabled() && game->GetModalChild() == nullptr);
    EXPECT_TRUE(playerName.empty());
}
