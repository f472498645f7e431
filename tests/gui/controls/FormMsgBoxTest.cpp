#include <gtest/gtest.h>

#include "app/EventLoop.h"
#include "gui/controls/ButtonCustom.h"
#include "gui/controls/CellControl.h"
#include "gui/controls/FormMsgBox.h"
#include "support/DisplayTest.h"
#include "support/TestElements.h"

namespace {

// An owner that records the answers its boxes deliver, and can end the loop on one.
class OwnerForm : public RecordingForm {
public:
    void OnMsgBoxResult(int code, int result) override {
        answers.emplace_back(code, result);
        if (quitOnAnswer) {
            Application::quitRequested = true;
        }
    }
    std::vector<std::pair<int, int>> answers;
    bool quitOnAnswer = false;
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
        ASSERT_TRUE(xtest::WaitForViewable(observer, owner->GetWindow()));
    }
    void TearDown() override {
        Application::currentMsgBox.reset();
        owner.reset();
        DisplayTest::TearDown();
    }
    FormMsgBox* Box() { return static_cast<FormMsgBox*>(Application::currentMsgBox.get()); }
    // Shows the box and lets the window manager place it.
    Window ShownBox() {
        const Window window = Box()->GetWindow();
        XSync(screen->GetDisplay(), False);
        EXPECT_TRUE(xtest::WaitForManaged(observer, window));
        xtest::PumpEvents(owner.get(), 50);
        return window;
    }
    void ClickAndPump(Window window, int x, int y) {
        const size_t before = owner->answers.size();
        xtest::Click(observer, window, x, y);
        xtest::PumpUntil(owner.get(), [&] { return owner->answers.size() > before; });
    }

    std::unique_ptr<OwnerForm> owner;
};

} // namespace

TEST_F(MsgBoxTest, NoticeShowsOnlyOkAtTheRight) {
    ShowMsgBox(owner.get(), "Saved.", "Notice");
    FormMsgBox* box = Box();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->GetYesButton()->GetText(), "OK");
    EXPECT_EQ(box->GetYesButton()->GetPosition(), PackPoint(130, 110));
    EXPECT_TRUE(box->GetYesButton()->IsVisible());
    EXPECT_FALSE(box->GetNoButton()->IsVisible());
    EXPECT_FALSE(box->GetNoButton()->IsCreated());
    EXPECT_EQ(box->GetLabel()->GetText(), "Saved.");
    EXPECT_EQ(box->GetLabel()->GetSize(), PackPoint(230, 90));
    EXPECT_EQ(box->GetTitle(), "Notice");
    EXPECT_EQ(box->GetSize(), PackPoint(250, 150));

    const Window window = ShownBox();
    EXPECT_EQ(xtest::ReadPixel(observer, window, 130, 110), 0xffffffu) << "the OK bevel";
    EXPECT_EQ(xtest::ReadPixel(observer, window, 15, 115), 0xaaaaaau) << "no NO button";
    EXPECT_EQ(xtest::ReadPixel(observer, window, 20, 20), 0xb7b7b7u) << "the label";
    const std::vector<long> type =
        xtest::ReadLongProperty(observer, window, "_NET_WM_WINDOW_TYPE", XA_ATOM);
    ASSERT_EQ(type.size(), 1u);
}

TEST_F(MsgBoxTest, QuestionShowsNoAtTheLeftAndYesAtTheRight) {
    ShowMsgBoxYesNo(1000, owner.get(), "Do you really want to go exit?", "Exit");
    FormMsgBox* box = Box();
    EXPECT_EQ(box->GetYesButton()->GetText(), "YES");
    EXPECT_EQ(box->GetYesButton()->GetPosition(), PackPoint(130, 110));
    EXPECT_EQ(box->GetNoButton()->GetText(), "NO");
    EXPECT_EQ(box->GetNoButton()->GetPosition(), PackPoint(10, 110));
    const Window window = ShownBox();
    EXPECT_EQ(xtest::ReadPixel(observer, window, 10, 110), 0xffffffu);
    EXPECT_EQ(xtest::ReadPixel(observer, window, 130, 110), 0xffffffu);
}

TEST_F(MsgBoxTest, OwnerIsDisabledWhileTheBoxIsOpen) {
    ShowMsgBoxYesNo(7, owner.get(), "Sure?", "Question");
    EXPECT_FALSE(owner->IsEnabled());
    EXPECT_TRUE(owner->HasMarkA());
    EXPECT_EQ(owner->GetModalChild(), Box());
    const Window window = ShownBox();
    ClickAndPump(window, 60, 120);
    EXPECT_TRUE(owner->IsEnabled());
    EXPECT_FALSE(owner->HasMarkA());
    EXPECT_EQ(owner->GetModalChild(), nullptr);
    EXPECT_FALSE(Box()->IsCreated());
}

TEST_F(MsgBoxTest, ButtonsAnswerOkYesAndNoWithTheBoxCode) {
    ShowMsgBox(owner.get(), "Notice", "Title");
    ClickAndPump(ShownBox(), 180, 120);
    ShowMsgBoxYesNo(21, owner.get(), "Question", "Title");
    ClickAndPump(ShownBox(), 180, 120);
    ShowMsgBoxYesNo(22, owner.get(), "Question", "Title");
    ClickAndPump(ShownBox(), 60, 120);
    EXPECT_EQ(owner->answers, (std::vector<std::pair<int, int>>{
                                  {0, kMsgBoxOk}, {21, kMsgBoxYes}, {22, kMsgBoxNo}}));
}

TEST_F(MsgBoxTest, AnswerArrivesThroughTheRunningLoop) {
    ShowMsgBoxYesNo(1000, owner.get(), "Do you really want to go exit?", "Exit");
    const Window window = ShownBox();
    owner->quitOnAnswer = true;
    xtest::Click(observer, window, 180, 120);
    ::Run(owner.get());
    EXPECT_EQ(owner->answers, (std::vector<std::pair<int, int>>{{1000, kMsgBoxYes}}));
    EXPECT_EQ(Application::currentMsgBox, nullptr) << "the loop frees the last box";
}

TEST_F(MsgBoxTest, WindowManagerCloseAnswersZeroOnce) {
    ShowMsgBoxYesNo(5, owner.get(), "Question", "Title");
    const Window window = ShownBox();
    xtest::SendDeleteWindow(observer, window);
    xtest::PumpUntil(owner.get(), [&] { return !owner->answers.empty(); });
    xtest::PumpEvents(owner.get(), 100);
    EXPECT_EQ(owner->answers, (std::vector<std::pair<int, int>>{{5, kMsgBoxClosed}}));
    EXPECT_TRUE(owner->IsEnabled());
}

TEST_F(MsgBoxTest, ASecondQuestionReplacesTheFirstWithoutAnAnswer) {
    ShowMsgBoxYesNo(1, owner.get(), "First", "Title");
    const Window first = ShownBox();
    ShowMsgBoxYesNo(2, owner.get(), "Second", "Title");
    XSync(screen->GetDisplay(), False);
    EXPECT_TRUE(xtest::WaitUntil([&] { return !xtest::IsOnScreen(observer, first); }))
        << "the first window is gone";
    EXPECT_EQ(Box()->GetCode(), 2);
    EXPECT_EQ(owner->GetModalChild(), Box());
    ClickAndPump(ShownBox(), 60, 120);
    EXPECT_EQ(owner->answers, (std::vector<std::pair<int, int>>{{2, kMsgBoxNo}}));
}

TEST_F(MsgBoxTest, SmallOwnerPlacesTheBoxAtClampedCoordinates) {
    OwnerForm small;
    small.SetScreen(screen.get());
    small.Move(0, 0);
    small.SetSize(100, 60);
    ShowMsgBox(&small, "Hello", "Title");
    XSync(screen->GetDisplay(), False);
    // Asked for (-75, -45): the box is placed at (0, 0), so the window manager is never
    // handed a position off the screen (it may still move the window down for its title).
    const int64_t clamped = Box()->GetPosition();
    EXPECT_GE(PointX(clamped), 0);
    EXPECT_LE(PointX(clamped), 5);
    EXPECT_GE(PointY(clamped), 0);
    Application::currentMsgBox.reset();

    OwnerForm shifted;
    shifted.Move(300, 200);
    shifted.SetSize(450, 350);
    shifted.SetScreen(screen.get());
    ShowMsgBox(&shifted, "Hello", "Title");
    // The window manager frames the box first and places the frame after, so for a moment
    // the box sits near the corner of the screen; only where it settles counts.
    int64_t position = 0;
    EXPECT_TRUE(xtest::WaitUntil([&] {
        position = Box()->GetPosition();
        return PointX(position) >= 400 && PointY(position) >= 300;
    })) << "the box stayed at (" << PointX(position) << ", " << PointY(position) << ")";
    Application::currentMsgBox.reset();
}

TEST_F(MsgBoxTest, NoOwnerMeansTheFirstForm) {
    ShowMsgBox("Hello", "Title");
    EXPECT_FALSE(owner->IsEnabled());
    EXPECT_EQ(owner->GetModalChild(), Box());
}
