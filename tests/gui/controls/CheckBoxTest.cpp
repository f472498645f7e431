#include <gtest/gtest.h>

#include "app/Application.h"
#include "gui/controls/CheckBox.h"
#include "support/FormFixture.h"

namespace {

const unsigned long kFormColour = 0x336699;
const unsigned long kGreyCaption = 0x9b9b9b;
const Area kBox{30, 30, 120, 26};
// A pixel of the tick inside the box: the tick's colour when checked, the box's when not.
const int kTickX = kBox.x + CheckBox::kMarkInset + 6;
const int kTickY = kBox.y + CheckBox::kMarkInset + 10;
// The caption, inside the dashed focus frame, and the frame's top edge above it.
const Area kCaption{kBox.x + CheckBox::kCaptionLeft, kBox.y + 3, kBox.w - 35, kBox.h - 5};
const Area kFocusTop{kBox.x + 23, kBox.y + 2, kBox.w - 30, 1};

int commands = 0;
void CountCommand(GUIElement*) {
    ++commands;
}

class CheckBoxTest : public FormFixture {
  protected:
    CheckBoxTest() { backColor = kFormColour; }
    void SetUp() override {
        FormFixture::SetUp();
        commands = 0;
        box = std::make_unique<CheckBox>(form.get(), "Sound");
        box->Move(kBox.x, kBox.y);
        box->SetSize(kBox.w, kBox.h);
        box->SetCommand(CountCommand);
        box->Show();
    }
    void Click() { SendClick(form.get(), form.get(), kBox.CentreX(), kBox.CentreY()); }
    void Type(KeySym key) { SendKeyTap(form.get(), form.get(), key); }

    std::unique_ptr<CheckBox> box;
};

} // namespace

TEST_F(CheckBoxTest, ClickTogglesAndRunsTheCommandWhileEnabledOnly) {
    EXPECT_EQ(Pixel(kTickX, kTickY), 0xffffffu);
    Click();
    EXPECT_TRUE(box->IsChecked());
    EXPECT_EQ(commands, 1);
    EXPECT_EQ(Pixel(kTickX, kTickY), 0x000000u);
    EXPECT_GT(Count(kCaption, 0x000000), 0) << "black caption";
    Click();
    EXPECT_FALSE(box->IsChecked());
    EXPECT_EQ(commands, 2);

    box->SetChecked(true);
    EXPECT_EQ(commands, 2) << "only the user's toggles run the command";
    EXPECT_EQ(Pixel(kTickX, kTickY), 0x000000u);

    // Still focused, a disabled box is still sent the clicks; it must ignore them.
    box->Enable(false);
    Click();
    Type(XK_space);
    EXPECT_TRUE(box->IsChecked());
    EXPECT_EQ(commands, 2);
    EXPECT_EQ(Pixel(kTickX, kTickY), 0x424242u) << "the disabled tick";
    EXPECT_EQ(Count(kCaption, 0x000000), 0);
    EXPECT_GT(Count(kCaption, kGreyCaption), 0);
    EXPECT_EQ(Count(kFocusTop, 0x000000), 0) << "no focus frame while disabled";
}

TEST_F(CheckBoxTest, SpaceTogglesWhileTheBoxHasTheFocus) {
    Application::focusedElement = box.get();
    box->OnFocusIn();
    EXPECT_GT(Count(kFocusTop, 0x000000), 10) << "a dashed frame round the caption";
    Type(XK_x);
    EXPECT_FALSE(box->IsChecked()) << "only the space bar toggles";
    Type(XK_space);
    EXPECT_TRUE(box->IsChecked());
    EXPECT_EQ(commands, 1);
    box->OnFocusOut();
    EXPECT_EQ(Count(kFocusTop, 0x000000), 0);
}
