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

TEST_F(ButtonTest, MouseOrReturnSinksAnEnabledButtonAndReleaseRunsTheCommandOnce) {
    input.Press(form->GetWindow(), kButton.CentreX(), kButton.CentreY());
    ASSERT_TRUE(PumpUntil(form.get(), [&] { return button->IsPressed(); }));
    EXPECT_EQ(Corners(), kPressed);
    EXPECT_EQ(commands, 0);
    input.Release();
    ASSERT_TRUE(PumpUntil(form.get(), [&] { return commands > 0; }));
    Pump();
    EXPECT_EQ(std::pair(commands, clicks), std::pair(1, 1));
    EXPECT_EQ(Corners(), kRaised);
    EXPECT_GT(FocusDashes(), 20) << "the click gave the button the focus, shown dashed";

    // With the focus, Return presses it as well.
    Return(KeyPress);
    EXPECT_EQ(std::pair(Corners(), commands), std::pair(kPressed, 1));
    Return(KeyRelease);
    EXPECT_EQ(std::pair(Corners(), commands), std::pair(kRaised, 2));

    // Losing the focus while held lets the button go without running the command.
    Return(KeyPress);
    button->OnFocusOut();
    EXPECT_EQ(std::pair(Corners(), commands), std::pair(kRaised, 2));

    // Disabled while it has the focus, the button still receives the events; it must ignore
    // them, and grey its caption.
    button->OnFocusIn();
    button->SetButtonEnabled(0);
    ExpectCaption(0x9b9b9b);
    EXPECT_EQ(FocusDashes(), 0) << "no focus rectangle when disabled";
    SendButton(form.get(), form.get(), ButtonPress, Button1, kButton.CentreX(), kButton.CentreY());
    Return(KeyPress);
    EXPECT_EQ(Corners(), kRaised);
    SendButton(form.get(), form.get(), ButtonRelease, Button1, kButton.x + 5, kButton.y + 5);
    Return(KeyRelease);
    EXPECT_EQ(std::pair(commands, clicks), std::pair(2, 1));

    // A button may have only a click hook and no command.
    button->SetButtonEnabled(1);
    button->SetCommand(nullptr);
    Return(KeyPress);
    Return(KeyRelease);
}
