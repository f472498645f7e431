#include <gtest/gtest.h>

#include "app/Screen.h"
#include "gui/core/PackedPoint.h"
#include "support/DisplayTest.h"
#include "support/EventPump.h"
#include "support/TestElements.h"
#include "tools/harness/WaitUntil.h"

namespace {

int loads = 0;
void CountLoad(GUIElement*, uint64_t) {
    ++loads;
}

using FormTest = DisplayTest;

} // namespace

// What the window manager and the player see of a window: its name and class, a size that
// cannot be changed, a close button that asks the program, the dialog type for dialogs only,
// and its background.
TEST_F(FormTest, WindowCarriesTheWindowManagerProperties) {
    const long dialogType = long(XInternAtom(observer, "_NET_WM_WINDOW_TYPE_DIALOG", False));
    const long deleteWindow = long(XInternAtom(observer, "WM_DELETE_WINDOW", False));
    for (bool dialog : {false, true}) {
        SCOPED_TRACE(dialog ? "dialog" : "main window");
        // A program that names itself gives its windows that name; one that does not, the
        // name of its executable.
        const std::string name = dialog ? "Brisgola.exe" : "gui_core_display_tests";
        if (dialog) {
            screen->SetProgramName(name);
        }
        RecordingForm form(nullptr, dialog);
        form.SetSize(400, 300);
        form.SetTitle("Brisgola test");
        if (dialog) {
            form.SetBackColor(0xfffde5);
        }
        const Window window = ShowManaged(form);
        EXPECT_EQ(windows.Class(window), (std::vector<std::string>{name, name}));
        EXPECT_EQ(windows.Title(window), "Brisgola test");
        EXPECT_EQ(windows.StringProperty(window, "WM_ICON_NAME"), name);
        EXPECT_EQ(windows.SizeHints(window), (std::vector<int>{400, 300, 400, 300}));
        EXPECT_EQ(windows.LongProperty(window, "WM_PROTOCOLS", XA_ATOM),
                  std::vector<long>{deleteWindow});
        EXPECT_EQ(windows.LongProperty(window, "_NET_WM_WINDOW_TYPE", XA_ATOM),
                  dialog ? std::vector<long>{dialogType} : std::vector<long>{});
        EXPECT_EQ(reader.Pixel(window, 50, 50), dialog ? 0xfffde5u : 0xaaaaaau);
        form.SetTitle("Renamed");
        XSync(screen->GetDisplay(), False);
        EXPECT_EQ(windows.Title(window) + windows.StringProperty(window, "WM_ICON_NAME"),
                  "RenamedRenamed");
    }
}

TEST_F(FormTest, ClosedSecondaryFormReopensWithoutLoadingAgain) {
    std::vector<std::string> log;
    RecordingForm mainForm;
    RecordingForm second(&log);
    ShowManaged(mainForm);
    second.SetOnLoad(CountLoad);
    const Window first = ShowManaged(second);
    windows.SendDeleteWindow(first);
    ASSERT_TRUE(PumpUntil(&mainForm, [&] { return !second.IsCreated(); }));
    EXPECT_EQ(log, (std::vector<std::string>{"form Closing", "form Closed"}));
    EXPECT_TRUE(WaitUntil([&] { return !windows.IsShown(first); }, 5000));
    second.Show();
    XSync(screen->GetDisplay(), False);
    EXPECT_TRUE(WaitUntil([&] { return windows.IsShown(second.GetWindow()); }, 5000));
    EXPECT_NE(second.GetWindow(), first);
    EXPECT_EQ(loads, 1);
}

// Once the window exists its position is the server's, wherever the window manager put it;
// hidden, it leaves the screen until it is shown mapped again.
TEST_F(FormTest, PositionComesFromTheServerAndHideUnmaps) {
    RecordingForm form;
    const Window window = ShowManaged(form);
    form.Move(200, 210);
    XSync(screen->GetDisplay(), False);
    ASSERT_TRUE(WaitUntil([&] { return PointX(form.GetPosition()) >= 200; }, 5000));
    Window child;
    int rootX = 0, rootY = 0;
    XTranslateCoordinates(observer, window, DefaultRootWindow(observer), 0, 0, &rootX, &rootY,
                          &child);
    EXPECT_EQ(form.GetPosition(), PackPoint(rootX, rootY));

    form.Hide();
    EXPECT_TRUE(WaitUntil([&] { return !windows.IsShown(window); }, 5000));
    form.ShowMapped();
    EXPECT_TRUE(WaitUntil([&] { return windows.IsShown(window); }, 5000));
}

// The player may minimise the window just before the program gives it the keyboard. Focus can
// only go to a viewable window, and an X error would end the program.
TEST_F(FormTest, FocusOnAWindowJustUnmappedIsNoError) {
    RecordingForm form;
    XUnmapWindow(observer, ShowManaged(form));
    XSync(observer, False);
    form.SetFocus();
    XSync(screen->GetDisplay(), False);
    // When the window goes between the look and the request, the server refuses the request;
    // that refusal is let pass.
    XSetInputFocus(screen->GetDisplay(), form.GetWindow(), RevertToNone, CurrentTime);
    XSync(screen->GetDisplay(), False);
    EXPECT_TRUE(form.HasFocus());
}
