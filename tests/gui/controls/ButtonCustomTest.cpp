#include <gtest/gtest.h>

#include "gui/controls/ButtonCustom.h"
#include "support/FormFixture.h"

namespace {

int clicks = 0;
void CountClick(GUIElement*, uint64_t, int64_t) {
    ++clicks;
}

const unsigned long kFace = 0xfffde5;
const Area kButton{50, 40, 100, 28};
// Raised, the bevel is light top-left and dark bottom-right; pressed, the other way round.
const Pixels kRaised = {0xffffff, 0x000000};
const Pixels kPressed = {0x000000, 0xffffff};

class ButtonTest : public FormFixture {
  protected:
    void SetUp() override {
        FormFixture::SetUp();
        clicks = 0;
        button = std::make_unique<ButtonCustom>(form.get(), "Press");
        button->SetBackColor(kFace);
        button->SetCommand(CountCommand);
        button->SetOnClick(CountClick);
        Place(*button, kButton);
    }
    // The bevel's top-left and bottom-right corners.
    Pixels Corners() {
        return {Pixel(kButton.x, kButton.y),
                Pixel(kButton.x + kButton.w - 1, kButton.y + kButton.h - 1)};
    }
    // The caption, centred in the face less its margins, exactly as the program's font draws it.
    void ExpectCaption(unsigned long colour) {
        const Area box =
            kButton.Inset(ButtonCustom::kCaptionMarginX, ButtonCustom::kCaptionMarginY);
        EXPECT_EQ(Read(box), Text(box.w, box.h, button->GetText(), colour, kFace, kAlignCenter));
    }
    // The dashed focus rectangle runs along the top of the face, 3 pixels inside the bevel.
    int FocusDashes() { return Count({kButton.x + 4, kButton.y + 3, kButton.w - 8, 1}, 0x000000); }
    void Return(int type) { SendKey(form.get(), form.get(), type, XK_Return); }
    // The focus as a click gives it, without the click's command.
    void Focus() { Application::MoveFocus(button.get()); }

    std::unique_ptr<ButtonCustom> button;
};

} // namespace

TEST_F(ButtonTest, ShowsARaisedFaceWithItsCaptionAndNothingBeyond) {
    EXPECT_EQ(Corners(), kRaised);
    button->SetText("Again");
    ExpectCaption(0x000000);
    EXPECT_EQ(Count({kButton.x + kButton.w, kButton.y, 5, kButton.h}, kFace), 0);
    // Moved, it leaves its old place in the form's colour.
    button->Move(kButton.x, 150);
    EXPECT_EQ(Count(kButton, backColor), kButton.w * kButton.h);
    EXPECT_EQ(Pixel(kButton.x + 5, 155), kFace);
}

TEST_F(ButtonTest, AMouseClickSinksTheButtonRunsTheCommandOnceAndGivesItTheFocus) {
    input.Press(form->GetWindow(), kButton.CentreX(), kButton.CentreY());
    ASSERT_TRUE(PumpUntil(form.get(), [&] { return button->IsPressed(); }));
    EXPECT_EQ(Corners(), kPressed);
    EXPECT_EQ(commands, 0);
    input.Release();
    ASSERT_TRUE(PumpUntil(form.get(), [&] { return commands > 0; }));
    Pump();
    EXPECT_EQ(std::pair(commands, clicks), std::pair(1, 1));
    EXPECT_EQ(Corners(), kRaised);
    EXPECT_GT(FocusDashes(), 20) << "the focus is shown dashed";
}

TEST_F(ButtonTest, ReturnPressesAFocusedButtonAndLosingTheFocusLetsItGoWithoutTheCommand) {
    Focus();
    Return(KeyPress);
    EXPECT_EQ(std::pair(Corners(), commands), std::pair(kPressed, 0));
    Return(KeyRelease);
    EXPECT_EQ(std::pair(Corners(), commands), std::pair(kRaised, 1));
    Return(KeyPress);
    button->OnFocusOut();
    EXPECT_EQ(std::pair(Corners(), commands), std::pair(kRaised, 1));
}

// Disabled while it has the focus, the button still receives the events.
TEST_F(ButtonTest, ADisabledButtonGreysItsCaptionAndIgnoresTheMouseAndReturn) {
    Focus();
    button->SetButtonEnabled(0);
    ExpectCaption(0x9b9b9b);
    EXPECT_EQ(FocusDashes(), 0) << "no focus rectangle when disabled";
    SendButton(form.get(), form.get(), ButtonPress, Button1, kButton.CentreX(), kButton.CentreY());
    Return(KeyPress);
    EXPECT_EQ(Corners(), kRaised);
    SendButton(form.get(), form.get(), ButtonRelease, Button1, kButton.x + 5, kButton.y + 5);
    Return(KeyRelease);
    EXPECT_EQ(std::pair(commands, clicks), std::pair(0, 0));
}

TEST_F(ButtonTest, AButtonWithoutACommandStillRunsItsClickHook) {
    button->SetCommand(nullptr);
    SendClick(form.get(), form.get(), kButton.CentreX(), kButton.CentreY());
    Return(KeyPress);
    Return(KeyRelease);
    EXPECT_EQ(std::pair(commands, clicks), std::pair(0, 1));
    EXPECT_EQ(Corners(), kRaised);
}
