#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "app/Application.h"
#include "gui/controls/FormMsgBox.h"
#include "gui/core/PackedPoint.h"
#include "support/DisplayTest.h"
#include "support/EventPump.h"
#include "support/TestElements.h"
#include "tools/harness/WaitUntil.h"

namespace {

using Answers = std::vector<std::pair<int, int>>;

// An owner that records the answers its boxes deliver, and can ask the next question from
// inside the answer.
class OwnerForm : public RecordingForm {
  public:
    void OnMsgBoxResult(int code, int result) override {
        answers.emplace_back(code, result);
        if (askAgain) {
            askAgain = false;
            ShowMsgBoxYesNo(code + 1, this, "And now?", "Follow-up");
        }
    }
    Answers answers;
    bool askAgain = false;
};

class MsgBoxTest : public DisplayTest {
  protected:
    void SetUp() override {
        DisplayTest::SetUp();
        owner.SetSize(600, 400);
        ShowManaged(owner);
    }
    void TearDown() override { Application::currentMsgBox.reset(); }
    static FormMsgBox* Box() { return static_cast<FormMsgBox*>(Application::currentMsgBox.get()); }
    // The box's window, once the window manager has placed it and it has painted.
    Window ShownBox() {
        const Window window = Box()->GetWindow();
        XSync(screen->GetDisplay(), False);
        EXPECT_TRUE(windows.WaitUntilManaged(window, 5000));
        PumpEvents(&owner, 50);
        XSync(screen->GetDisplay(), False);
        return window;
    }
    // Clicks a button of the open box, or closes it from the window manager when the area is
    // empty, and waits for its answer.
    void Answer(const Area& button) {
        const size_t before = owner.answers.size();
        if (button.w == 0) {
            windows.SendDeleteWindow(ShownBox());
        } else {
            input.ClickCentre(ShownBox(), button);
        }
        PumpUntil(&owner, [&] { return owner.answers.size() > before; });
    }

    OwnerForm owner;
};

} // namespace

// A box without an owner named belongs to the first form. Closed from the window manager, a
// box answers 0, and only once.
TEST_F(MsgBoxTest, ButtonsOrTheCloseControlAnswerWithTheBoxCodeAndFreeTheOwner) {
    const int noButton = FormMsgBox::kNoArea.w * FormMsgBox::kNoArea.h;
    for (const auto& [question, code, pressed, result] :
         {std::tuple{false, 0, FormMsgBox::kYesArea, kMsgBoxOk},
          std::tuple{true, 21, FormMsgBox::kYesArea, kMsgBoxYes},
          std::tuple{true, 22, FormMsgBox::kNoArea, kMsgBoxNo},
          std::tuple{true, 5, Area{}, kMsgBoxClosed}}) {
        SCOPED_TRACE(code);
        owner.answers.clear();
        if (question) {
            ShowMsgBoxYesNo(code, &owner, "Sure?", "Question");
        } else {
            ShowMsgBox("Saved.", "Notice");
        }
        const Window window = ShownBox();
        EXPECT_EQ(windows.Title(window), question ? "Question" : "Notice");
        EXPECT_EQ(reader.Count(window, FormMsgBox::kNoArea, 0xaaaaaa) == noButton, !question)
            << "only a question has a NO button";
        EXPECT_FALSE(owner.IsEnabled()) << "the owner waits for the answer";
        Answer(pressed);
        PumpEvents(&owner, 100);
        EXPECT_EQ(owner.answers, (Answers{{code, result}}));
        EXPECT_TRUE(owner.IsEnabled());
        EXPECT_FALSE(Box()->IsCreated());
    }
}

// A new question replaces the open box, which then gives no answer. Asked from inside an
// answer, it replaces the box whose button and form are still handling the click: that box
// must not be freed under them (the sanitizer build would report a use after free).
TEST_F(MsgBoxTest, ANewQuestionReplacesTheOpenBoxSafely) {
    ShowMsgBoxYesNo(1, &owner, "First", "Title");
    const Window first = ShownBox();
    ShowMsgBoxYesNo(2, &owner, "Second", "Title");
    XSync(screen->GetDisplay(), False);
    EXPECT_TRUE(WaitUntil([&] { return !windows.IsShown(first); }, 5000));
    owner.askAgain = true;
    Answer(FormMsgBox::kYesArea);
    EXPECT_EQ(owner.answers, (Answers{{2, kMsgBoxYes}}));
    ASSERT_NE(Box(), nullptr);
    EXPECT_FALSE(owner.IsEnabled()) << "the follow-up holds the owner";
    EXPECT_EQ(owner.GetModalChild(), Box());
    Answer(FormMsgBox::kNoArea);
    EXPECT_EQ(owner.answers, (Answers{{2, kMsgBoxYes}, {3, kMsgBoxNo}}));
    EXPECT_TRUE(owner.IsEnabled());
}

// Two dialogs on one owner: answering the one on top must not free the owner while the other
// still waits.
TEST_F(MsgBoxTest, TheOwnerStaysDisabledWhileAnotherOfItsDialogsIsOpen) {
    RecordingForm other(nullptr, true);
    other.SetScreen(screen.get());
    other.BlockOwner(&owner);
    other.Show();
    ShowMsgBoxYesNo(7, &owner, "Sure?", "Question");
    Answer(FormMsgBox::kNoArea);
    EXPECT_FALSE(owner.IsEnabled());
    EXPECT_EQ(owner.GetModalChild(), &other) << "a click on the owner now raises the other";
    other.ReleaseOwner();
    other.DestroyWindow();
    EXPECT_TRUE(owner.IsEnabled());
    EXPECT_EQ(owner.GetModalChild(), nullptr);
}
