#include <gtest/gtest.h>

#include "app/EventLoop.h"
#include "gui/controls/ButtonCustom.h"
#include "gui/graphics/DrawingContext.h"
#include "support/FormFixture.h"

namespace {

int commands = 0;
int clicks = 0;
void CountCommand(GUIElement*) { ++commands; }
void OtherCommand(GUIElement*) { commands += 100; }
void CountClick(GUIElement*, uint64_t, int64_t) { ++clicks; }

const unsigned long kFace = 0xfffde5;
const unsigned long kGreyCaption = 0x9b9b9b;

class ButtonTest : public FormFixture {
protected:
    void SetUp() override {
        FormFixture::SetUp();
        commands = 0;
        clicks = 0;
        button = std::make_unique<ButtonCustom>(form.get(), "Press");
        button->Move(50, 40);
        button->SetSize(100, 28);
        button->SetBackColor(kFace);
        button->SetCommand(CountCommand);
        button->SetOnClick(CountClick);
        button->Show();
    }
    void TearDown() override {
        button.reset();
        FormFixture::TearDown();
    }
    void Key(int type, KeySym key) {
        XEvent event{};
        event.type = type;
        event.xkey.window = form->GetWindow();
        event.xkey.display = screen->GetDisplay();
        event.xkey.keycode = XKeysymToKeycode(screen->GetDisplay(), key);
        DispatchEvent(form.get(), event);
    }
    bool LooksPressed() { return Pixel(50, 40) == 0x000000 && Pixel(149, 67) == 0xffffff; }
    bool LooksRaised() { return Pixel(50, 40) == 0xffffff && Pixel(149, 67) == 0x000000; }

    std::unique_ptr<ButtonCustom> button;
};

} // namespace

TEST_F(ButtonTest, PaintsAFaceABevelAndACaption) {
    EXPECT_TRUE(LooksRaised());
    EXPECT_EQ(Pixel(55, 45), kFace);
    EXPECT_GT(Count(56, 44, 88, 20, 0x000000), 10) << "a black caption";
    EXPECT_EQ(Count(150, 40, 5, 28, kFace), 0) << "nothing beyond the button";
}

TEST_F(ButtonTest, MousePressShowsTheSunkenBevelAndReleaseRunsTheCommandOnce) {
    xtest::PressButton(observer, form->GetWindow(), 90, 55);
    ASSERT_TRUE(xtest::PumpUntil(form.get(), [&] { return button->IsPressed(); }));
    EXPECT_TRUE(LooksPressed());
    EXPECT_EQ(commands, 0);
    xtest::ReleaseButton(observer);
    ASSERT_TRUE(xtest::PumpUntil(form.get(), [&] { return commands > 0; }));
    Pump();
    EXPECT_EQ(commands, 1);
    EXPECT_EQ(clicks, 1) << "the click hook runs after the command";
    EXPECT_TRUE(LooksRaised());
    // Focused now: the dashed focus rectangle is drawn in the caption colour.
    EXPECT_GT(Count(54, 43, 92, 1, 0x000000), 20);
    EXPECT_GT(Count(54, 43, 92, 1, kFace), 20);
}

TEST_F(ButtonTest, ReturnWithTheFocusPressesAndRunsTheCommand) {
    button->OnFocusIn();
    Application::focusedElement = button.get();
    Key(KeyPress, XK_Return);
    EXPECT_TRUE(LooksPressed());
    EXPECT_EQ(commands, 0);
    Key(KeyRelease, XK_Return);
    EXPECT_EQ(commands, 1);
    EXPECT_TRUE(LooksRaised());
}

TEST_F(ButtonTest, LosingTheFocusWhileHeldReleasesWithoutCommand) {
    button->OnFocusIn();
    button->OnMouseDown(PackPoint(60, 50));
    EXPECT_TRUE(LooksPressed());
    button->OnFocusOut();
    EXPECT_TRUE(LooksRaised());
    EXPECT_EQ(commands, 0);
}

TEST_F(ButtonTest, DisabledButtonIgnoresMouseAndKeysAndGreysItsCaption) {
    button->SetButtonEnabled(0);
    EXPECT_GT(Count(56, 44, 88, 20, kGreyCaption), 10);
    EXPECT_EQ(Count(56, 44, 88, 20, 0x000000), 0);
    button->OnFocusIn();
    EXPECT_EQ(Count(54, 43, 92, 1, 0x000000), 0) << "no focus rectangle when disabled";
    button->OnMouseDown(PackPoint(60, 50));
    button->OnClick(PackPoint(60, 50));
    button->OnKeyDown(XK_Return);
    EXPECT_FALSE(button->OnKeyChar(13));
    EXPECT_TRUE(LooksRaised());
    EXPECT_EQ(commands, 0);
    EXPECT_EQ(clicks, 0);
}

TEST_F(ButtonTest, ReplacingTheCommandRunsTheNewOneAndNullRunsNone) {
    button->OnClick(PackPoint(60, 50));
    button->SetCommand(OtherCommand);
    button->OnClick(PackPoint(60, 50));
    EXPECT_EQ(commands, 101);
    button->SetCommand(nullptr);
    button->OnClick(PackPoint(60, 50));
    EXPECT_EQ(commands, 101);
    EXPECT_EQ(clicks, 3) << "the click hook still runs";
}

TEST_F(ButtonTest, FaceFallsBackToTheDefaultGreyAndHideUsesTheFormColour) {
    ButtonCustom plain(form.get(), "");
    plain.Move(200, 40);
    plain.SetBackColor(-1);
    form->SetBackColor(-1);
    plain.Show();
    EXPECT_EQ(Pixel(240, 55), 0xaaaaaau);
    form->SetBackColor(0x123456);
    plain.Hide();
    EXPECT_EQ(Count(200, 40, 80, 30, 0x123456), 80 * 30);
    EXPECT_FALSE(plain.IsCreated());
}

TEST_F(ButtonTest, MovingAShownButtonClearsTheOldPlace) {
    button->Move(50, 150);
    EXPECT_EQ(Count(50, 40, 100, 28, 0x000000), 100 * 28);
    EXPECT_TRUE(LooksPressed() == false);
    EXPECT_EQ(Pixel(55, 155), kFace);
}

TEST_F(ButtonTest, LongCaptionWrapsInsideTheButton) {
    button->SetSize(100, 60);
    button->SetText("one two three four five six seven eight");
    EXPECT_GT(Count(56, 44, 88, 15, 0x000000), 10);
    EXPECT_GT(Count(56, 59, 88, 15, 0x000000), 10);
    EXPECT_EQ(Count(150, 40, 50, 60, 0x000000), 50 * 60) << "nothing drawn outside";
}
