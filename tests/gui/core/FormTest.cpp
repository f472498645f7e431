#include <gtest/gtest.h>

#include "app/EventLoop.h"
#include "support/DisplayTest.h"
#include "support/TestElements.h"

using FormTest = DisplayTest;

namespace {

int loads = 0;
void CountLoad(GUIElement*, uint64_t) { ++loads; }

} // namespace

TEST_F(FormTest, WindowCarriesTheWindowManagerProperties) {
    RecordingForm form;
    form.SetScreen(screen.get());
    form.SetSize(400, 300);
    form.SetTitle("Brisgola test");
    form.Show();
    XSync(screen->GetDisplay(), False);
    ASSERT_TRUE(form.IsCreated());
    const Window window = form.GetWindow();
    ASSERT_TRUE(xtest::WaitForViewable(observer, window));

    EXPECT_EQ(xtest::ReadStringProperty(observer, window, "WM_CLASS"),
              std::string("Brisgola.exe\0Brisgola.exe\0", 26));
    EXPECT_EQ(xtest::ReadStringProperty(observer, window, "WM_NAME"), "Brisgola test");
    EXPECT_EQ(xtest::ReadStringProperty(observer, window, "WM_ICON_NAME"), "Brisgola.exe");

    XSizeHints hints{};
    long supplied = 0;
    ASSERT_TRUE(XGetWMNormalHints(observer, window, &hints, &supplied));
    EXPECT_TRUE(hints.flags & PMinSize);
    EXPECT_TRUE(hints.flags & PMaxSize);
    EXPECT_EQ(hints.min_width, 400);
    EXPECT_EQ(hints.max_width, 400);
    EXPECT_EQ(hints.min_height, 300);
    EXPECT_EQ(hints.max_height, 300);

    Atom* protocols = nullptr;
    int count = 0;
    ASSERT_TRUE(XGetWMProtocols(observer, window, &protocols, &count));
    ASSERT_EQ(count, 1);
    EXPECT_EQ(protocols[0], XInternAtom(observer, "WM_DELETE_WINDOW", False));
    XFree(protocols);

    EXPECT_TRUE(xtest::ReadLongProperty(observer, window, "_NET_WM_WINDOW_TYPE", XA_ATOM).empty());

    XWindowAttributes attributes;
    ASSERT_TRUE(XGetWindowAttributes(screen->GetDisplay(), window, &attributes));
    EXPECT_EQ(attributes.your_event_mask, 0xAA07F);
    EXPECT_GT(form.GetId(), 0u);
}

TEST_F(FormTest, DialogsAnnounceTheirWindowType) {
    RecordingForm dialog(nullptr, true);
    dialog.SetScreen(screen.get());
    dialog.Show();
    XSync(screen->GetDisplay(), False);
    ASSERT_TRUE(xtest::WaitForViewable(observer, dialog.GetWindow()));
    const std::vector<long> type =
        xtest::ReadLongProperty(observer, dialog.GetWindow(), "_NET_WM_WINDOW_TYPE", XA_ATOM);
    ASSERT_EQ(type.size(), 1u);
    EXPECT_EQ(static_cast<Atom>(type[0]),
              XInternAtom(observer, "_NET_WM_WINDOW_TYPE_DIALOG", False));
}

TEST_F(FormTest, SetTitleRenamesWindowAndIcon) {
    RecordingForm form;
    form.SetScreen(screen.get());
    form.Show();
    XSync(screen->GetDisplay(), False);
    form.SetTitle("Renamed");
    XSync(screen->GetDisplay(), False);
    EXPECT_EQ(xtest::ReadStringProperty(observer, form.GetWindow(), "WM_NAME"), "Renamed");
    EXPECT_EQ(xtest::ReadStringProperty(observer, form.GetWindow(), "WM_ICON_NAME"), "Renamed");
    EXPECT_EQ(form.GetTitle(), "Renamed");
}

TEST_F(FormTest, WindowManagerKeepsTheSizeFixed) {
    RecordingForm form;
    form.SetScreen(screen.get());
    form.SetSize(400, 300);
    form.Show();
    XSync(screen->GetDisplay(), False);
    ASSERT_TRUE(xtest::WaitForViewable(observer, form.GetWindow()));
    // Another client asks for a bigger window; the window manager must refuse it.
    XResizeWindow(observer, form.GetWindow(), 700, 500);
    XSync(observer, False);
    xtest::PumpEvents(&form, 300);
    EXPECT_EQ(form.GetRealWidth(), 400);
    EXPECT_EQ(form.GetRealHeight(), 300);
}

TEST_F(FormTest, BackgroundDefaultsToGreyAndFollowsTheColour) {
    RecordingForm grey;
    grey.SetScreen(screen.get());
    grey.Move(0, 0);
    grey.SetSize(200, 100);
    grey.Show();
    XSync(screen->GetDisplay(), False);
    RecordingForm cream;
    cream.SetScreen(screen.get());
    cream.SetBackColor(0xfffde5);
    cream.Move(300, 0);
    cream.SetSize(200, 100);
    cream.Show();
    XSync(screen->GetDisplay(), False);
    ASSERT_TRUE(xtest::WaitForViewable(observer, grey.GetWindow()));
    ASSERT_TRUE(xtest::WaitForViewable(observer, cream.GetWindow()));
    XSync(observer, False);
    EXPECT_EQ(xtest::ReadPixel(observer, grey.GetWindow(), 50, 50), 0xaaaaaau);
    EXPECT_EQ(xtest::ReadPixel(observer, cream.GetWindow(), 50, 50), 0xfffde5u);
}

TEST_F(FormTest, MoveStoresBeforeCreationAndPositionComesFromTheServerAfter) {
    RecordingForm form;
    form.SetScreen(screen.get());
    form.Move(50, 60);
    EXPECT_EQ(form.GetPosition(), PackPoint(50, 60));
    form.Show();
    XSync(screen->GetDisplay(), False);
    ASSERT_TRUE(xtest::WaitForViewable(observer, form.GetWindow()));
    form.Move(200, 210);
    XSync(screen->GetDisplay(), False);
    // The window manager may add a frame, so the window lands at or right of the request;
    // what matters is that the position reported is the server's, not the stored one.
    ASSERT_TRUE(xtest::WaitUntil([&] { return PointX(form.GetPosition()) >= 200; }));
    Window child;
    int rootX = 0, rootY = 0;
    XTranslateCoordinates(observer, form.GetWindow(), DefaultRootWindow(observer), 0, 0, &rootX,
                          &rootY, &child);
    EXPECT_EQ(form.GetPosition(), PackPoint(rootX, rootY));
}

TEST_F(FormTest, CenterOnScreenUsesTheScreenSizeAndClampsAtZero) {
    RecordingForm form;
    form.SetSize(400, 300);
    form.CenterOnScreen(); // no Screen of its own: the current one
    EXPECT_EQ(form.GetPosition(),
              PackPoint((screen->GetWidth() - 400) / 2, (screen->GetHeight() - 300) / 2));
    form.SetSize(screen->GetWidth() + 100, 300);
    form.CenterOnScreen();
    EXPECT_EQ(PointX(form.GetPosition()), 0);
}

TEST_F(FormTest, ClosedSecondaryFormReopensWithoutLoadingAgain) {
    std::vector<std::string> log;
    RecordingForm mainForm;
    mainForm.SetScreen(screen.get());
    mainForm.Show();
    XSync(screen->GetDisplay(), False);
    RecordingForm second(&log);
    second.SetScreen(screen.get());
    loads = 0;
    second.SetOnLoad(CountLoad);
    second.Show();
    XSync(screen->GetDisplay(), False);
    const Window first = second.GetWindow();
    ASSERT_TRUE(xtest::WaitForViewable(observer, first));

    xtest::SendDeleteWindow(observer, first);
    ASSERT_TRUE(xtest::PumpUntil(&mainForm, [&] { return !second.IsCreated(); }));
    EXPECT_EQ(log, (std::vector<std::string>{"form Closing", "form Closed"}));
    EXPECT_EQ(second.GetWindow(), 0u);

    second.Show();
    XSync(screen->GetDisplay(), False);
    EXPECT_TRUE(second.IsCreated());
    EXPECT_NE(second.GetWindow(), 0u);
    EXPECT_NE(second.GetWindow(), first);
    EXPECT_EQ(loads, 1);
}

TEST_F(FormTest, FormWithoutScreenStaysUncreated) {
    testing::internal::CaptureStdout();
    RecordingForm form;
    form.Show();
    XSync(screen->GetDisplay(), False);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "E' necessario impostare il display\n");
    EXPECT_FALSE(form.IsCreated());
    EXPECT_EQ(form.GetId(), 0u);
}

TEST_F(FormTest, StyleSwitchesAreStored) {
    RecordingForm form;
    form.SetStyleFlag1(false);
    form.SetStyleFlag3(false);
    form.SetStyleFlag5(true);
    EXPECT_FALSE(form.GetStyleFlag(1));
    EXPECT_TRUE(form.GetStyleFlag(2));
    EXPECT_FALSE(form.GetStyleFlag(3));
    EXPECT_TRUE(form.GetStyleFlag(4));
    EXPECT_TRUE(form.GetStyleFlag(5));
}
