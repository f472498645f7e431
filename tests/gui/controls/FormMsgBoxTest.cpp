#include <gtest/gtest.h>

#include <tuple>

#include "app/Application.h"
#include "app/EventLoop.h"
#include "gui/controls/FormMsgBox.h"
#include "gui/core/PackedPoint.h"
#include "support/DisplayTest.h"
#include "support/EventPump.h"
#include "support/TestElements.h"
#include "tools/harness/WaitUntil.h"

namespace {

using Answers = std::vector<std::pair<int, int>>;

// An owner that records the answers its boxes deliver, and can end the loop on one or ask the
// next question from inside the answer.
class OwnerForm : public RecordingForm {
  public:
    void OnMsgBoxResult(int code, int result) override {
        answers.emplace_back(code, result);
        if (quitOnAnswer) {
            Application::quitRequested = true;
        }
        if (askAgain) {
            askAgain = false;
            ShowMsgBoxYesNo(code + 1, this, "And now?", "Follow-up");
        }
    }
    Answers answers;
    bool quitOnAnswer = false;
    bool askAgain = false;
};

class MsgBoxTest : public DisplayTest {
  protected:
    void SetUp() override {
        DisplayTest::SetUp();
        owner = std::make_unique<OwnerForm>();
        owner->SetScreen(screen.get());
        owner->Move(0, 0);
        owner->SetSize(600, 400);
        owner->Show();
        XSync(screen->GetDisplay(), False);
        ASSERT_TRUE(windows.WaitUntilManaged(owner->GetWindow(), 5000));
    }
    void TearDown() override {
        Application::currentMsgBox.reset();
        owner.reset();
    }
    static FormMsgBox* Box() { return static_cast<FormMsgBox*>(Application::currentMsgBox.get()); }
    // The box's window, once the window manager has placed it and it has painted.
    Window ShownBox() {
        const Window window = Box()->GetWindow();
        XSync(screen->GetDisplay(), False);
        EXPECT_TRUE(windows.WaitUntilManaged(window, 5000));
        PumpEvents(owner.get(), 50);
        XSync(screen->GetDisplay(), False);
        return window;
    }
    void ClickAndPump(Window window, const Area& area) {
        const size_t before = owner->answers.size();
        input.ClickCentre(window, area);
        PumpUntil(owner.get(), [&] { return owner->answers.size() > before; });
    }

    std::unique_ptr<OwnerForm> owner;
};

} // namespace

TEST_F(MsgBoxTest, ButtonsAnswerOkYesOrNoWithTheBoxCodeAndFreeTheOwner) {
    const long dialog = long(XInternAtom(observer, "_NET_WM_WINDOW_TYPE_DIALOG", False));
    const int noButton = FormMsgBox::kNoArea.w * FormMsgBox::kNoArea.h;
    for (const auto& [question, code, pressed, result] :
         {std::tuple{false, 0, FormMsgBox::kYesArea, kMsgBoxOk},
          std::tuple{true, 21, FormMsgBox::kYesArea, kMsgBoxYes},
          std::tuple{true, 22, FormMsgBox::kNoArea, kMsgBoxNo}}) {
        SCOPED_TRACE(code);
        owner->answers.clear();
        if (question) {
            ShowMsgBoxYesNo(code, owner.get(), "Sure?", "Question");
        } else {
            ShowMsgBox(owner.get(), "Saved.", "Notice");
        }
        const Window window = ShownBox();
        EXPECT_EQ(windows.Title(window), question ? "Question" : "Notice");
        EXPECT_EQ(windows.LongProperty(window, "_NET_WM_WINDOW_TYPE", XA_ATOM),
                  std::vector<long>{dialog});
        EXPECT_EQ(reader.Count(window, FormMsgBox::kNoArea, 0xaaaaaa) == noButton, !question)
            << "only a question has a NO button";
        EXPECT_FALSE(owner->IsEnabled()) << "the owner waits for the answer";
        EXPECT_EQ(owner->GetModalChild(), Box());
        ClickAndPump(window, pressed);
        EXPECT_EQ(owner->answers, (Answers{{code, result}}));
        EXPECT_TRUE(owner->IsEnabled());
        EXPECT_EQ(owner->GetModalChild(), nullptr);
        EXPECT_FALSE(Box()->IsCreated());
    }
}

TEST_F(MsgBoxTest, AnswerArrivesThroughTheRunningLoop) {
    ShowMsgBoxYesNo(1000, owner.get(), "Do you really want to go exit?", "Exit");
    const Window window = ShownBox();
    owner->quitOnAnswer = true;
    input.ClickCentre(window, FormMsgBox::kYesArea);
    ::Run(owner.get());
    EXPECT_EQ(owner->answers, (Answers{{1000, kMsgBoxYes}}));
    EXPECT_EQ(Application::currentMsgBox, nullptr) << "the loop frees the last box";
}

TEST_F(MsgBoxTest, ClosingTheBoxFromTheWindowManagerAnswersZeroOnce) {
    ShowMsgBoxYesNo(5, owner.get(), "Question", "Title");
    windows.SendDeleteWindow(ShownBox());
    PumpUntil(owner.get(), [&] { return !owner->answers.empty(); });
    PumpEvents(owner.get(), 100);
    EXPECT_EQ(owner->answers, (Answers{{5, kMsgBoxClosed}}));
    EXPECT_TRUE(owner->IsEnabled());
}

TEST_F(MsgBoxTest, ASecondQuestionReplacesTheFirstWithoutAnAnswer) {
    ShowMsgBoxYesNo(1, owner.get(), "First", "Title");
    const Window first = ShownBox();
    ShowMsgBoxYesNo(2, owner.get(), "Second", "Title");
    XSync(screen->GetDisplay(), False);
    EXPECT_TRUE(WaitUntil([&] { return !windows.IsShown(first); }, 5000));
    EXPECT_EQ(owner->GetModalChild(), Box());
    ClickAndPump(ShownBox(), FormMsgBox::kNoArea);
    EXPECT_EQ(owner->answers, (Answers{{2, kMsgBoxNo}}));
}

// Centred on its owner; an owner smaller than the box would put it off the screen, so then it
// goes to (0, 0), where the window manager may still move it down for its title bar.
TEST_F(MsgBoxTest, BoxIsCentredOnItsOwnerButNeverOffTheScreen) {
    struct Case {
        Area owner;
        int minX, maxX, minY;
    };
    for (const Case& c :
         {Case{{0, 0, 100, 60}, 0, 5, 0}, Case{{300, 200, 450, 350}, 400, 405, 300}}) {
        OwnerForm other;
        other.Move(c.owner.x, c.owner.y);
        other.SetSize(c.owner.w, c.owner.h);
        other.SetScreen(screen.get());
        ShowMsgBox(&other, "Hello", "Title");
        // The window manager frames the box before it places the frame; only where it settles
        // counts.
        int64_t at = 0;
        EXPECT_TRUE(WaitUntil(
            [&] {
                at = Box()->GetPosition();
                return PointX(at) >= c.minX && PointX(at) <= c.maxX && PointY(at) >= c.minY;
            },
            5000))
            << "the box stayed at (" << PointX(at) << ", " << PointY(at) << ")";
        Application::currentMsgBox.reset();
    }
}

TEST_F(MsgBoxTest, NoOwnerMeansTheFirstForm) {
    ShowMsgBox("Hello", "Title");
    EXPECT_FALSE(owner->IsEnabled());
    EXPECT_EQ(owner->GetModalChild(), Box());
}

// The answer arrives while the first box's button and form are still handling the click: the
// second box replaces the first without freeing it under them (the sanitizer build would
// report a use after free here).
TEST_F(MsgBoxTest, AQuestionAskedFromAnAnswerReplacesTheBoxSafely) {
    ShowMsgBoxYesNo(40, owner.get(), "First?", "Question");
    owner->askAgain = true;
    ClickAndPump(ShownBox(), FormMsgBox::kYesArea);
    EXPECT_EQ(owner->answers, (Answers{{40, kMsgBoxYes}}));
    ASSERT_NE(Box(), nullptr);
    EXPECT_EQ(Box()->GetCode(), 41);
    EXPECT_FALSE(owner->IsEnabled()) << "the second box holds the owner";
    ClickAndPump(ShownBox(), FormMsgBox::kNoArea);
    EXPECT_EQ(owner->answers, (Answers{{40, kMsgBoxYes}, {41, kMsgBoxNo}}));
    EXPECT_TRUE(owner->IsEnabled());
}

// Two dialogs on one owner: answering the one on top must not free the owner while the other
// still waits.
TEST_F(MsgBoxTest, TheOwnerStaysDisabledWhileAnotherOfItsDialogsIsOpen) {
    RecordingForm other(nullptr, true);
    other.SetScreen(screen.get());
    other.BlockOwner(owner.get());
    other.Show();
    ShowMsgBoxYesNo(7, owner.get(), "Sure?", "Question");
    ClickAndPump(ShownBox(), FormMsgBox::kNoArea);
    EXPECT_FALSE(owner->IsEnabled());
    EXPECT_EQ(owner->GetModalChild(), &other) << "a click on the owner now raises the other";
    other.ReleaseOwner();
    other.DestroyWindow();
    EXPECT_TRUE(owner->IsEnabled());
    EXPECT_EQ(owner->GetModalChild(), nullptr);
}
