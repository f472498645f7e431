#include <gtest/gtest.h>
#include <chrono>
#include <sys/resource.h>
#include <thread>

#include "app/EventLoop.h"
#include "gui/controls/Timer.h"
#include "support/DisplayTest.h"
#include "support/EventPump.h"
#include "support/TestElements.h"

namespace {

using Journal = std::vector<std::string>;

// A shown form with controls, fed with events built by hand through the one dispatch
// function the loop uses.
class EventLoopTest : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        form = std::make_unique<RecordingForm>(&log);
        form->SetScreen(screen.get());
        form->SetSize(300, 200);
        form->Show();
        ASSERT_TRUE(form->IsCreated());
        XSync(screen->GetDisplay(), False);
    }
    void TearDown() override {
        controls.clear();
        form.reset();
        DisplayTest::TearDown();
    }

    RecordingControl* AddControl(int x, int y, int w = 50, int h = 20) {
        controls.push_back(
            std::make_unique<RecordingControl>(form.get(), "c", x, y, w, h, &log));
        controls.back()->Show();
        // Clicks right after construction would count as double clicks.
        DateTime longAgo = DateTime::Now();
        longAgo.AddSeconds(-10);
        controls.back()->SetLastClickTime(longAgo);
        return controls.back().get();
    }

    void Button(int type, unsigned int button, int x, int y) {
        SendButton(form.get(), form.get(), type, button, x, y);
    }
    void Click(int x, int y, unsigned int button = Button1) {
        Button(ButtonPress, button, x, y);
        Button(ButtonRelease, button, x, y);
    }
    void Key(int type, KeySym key) { SendKey(form.get(), form.get(), type, key); }
    void Configure(int x, int y, int w, int h) {
        XEvent event{};
        event.type = ConfigureNotify;
        event.xconfigure.event = form->GetWindow();
        event.xconfigure.window = form->GetWindow();
        event.xconfigure.x = x;
        event.xconfigure.y = y;
        event.xconfigure.width = w;
        event.xconfigure.height = h;
        DispatchEvent(form.get(), event);
    }
    std::string Id(GUIElement* element) { return std::to_string(element->GetId()); }

    Journal log;
    std::unique_ptr<RecordingForm> form;
    std::vector<std::unique_ptr<RecordingControl>> controls;
};

bool QuitOnClose(GUIElement*) {
    Application::quitRequested = true;
    return false;
}

} // namespace

TEST_F(EventLoopTest, ClickOnAControlFocusesItThenReachesTheForm) {
    RecordingControl* button = AddControl(10, 10);
    Click(20, 15);
    const std::string c = "c" + Id(button);
    EXPECT_EQ(log, (Journal{c + " FocusIn", c + " MouseDown 20,15", "form MouseDown",
                            c + " Click 20,15", "form Click"}));
    EXPECT_EQ(Application::focusedElement, button);

    log.clear();
    Click(20, 15);
    EXPECT_EQ(log, (Journal{c + " MouseDown 20,15", "form MouseDown", c + " Click 20,15",
                            c + " DoubleClick", "form Click"}))
        << "a second click within the second is a double click, and does not focus again";
}

TEST_F(EventLoopTest, ClickOnTheBackgroundTakesTheFocusAway) {
    RecordingControl* button = AddControl(10, 10);
    Click(20, 15);
    log.clear();
    Click(200, 150);
    EXPECT_EQ(log, (Journal{"c" + Id(button) + " FocusOut", "form MouseDown", "form Click"}));
    EXPECT_EQ(Application::focusedElement, nullptr);
}

TEST_F(EventLoopTest, ReleaseOutsideTheFocusedControlTakesTheFocusAway) {
    RecordingControl* button = AddControl(10, 10);
    Button(ButtonPress, Button1, 20, 15);
    log.clear();
    Button(ButtonRelease, Button1, 200, 150);
    EXPECT_EQ(log, (Journal{"c" + Id(button) + " FocusOut", "form Click"}));
    EXPECT_EQ(Application::focusedElement, nullptr);
}

TEST_F(EventLoopTest, TabWalksTabStopsByIdSkipsTheRestAndWraps) {
    RecordingControl* first = AddControl(0, 0);
    AddControl(0, 30)->SetTabStop(false);
    RecordingControl* second = AddControl(0, 60);
    RecordingControl* third = AddControl(0, 90);
    AddControl(0, 120)->SetTabStop(false);
    Key(KeyRelease, XK_Tab);
    EXPECT_EQ(Application::focusedElement, first) << "no focus: the first tab stop";
    Key(KeyRelease, XK_Tab);
    EXPECT_EQ(Application::focusedElement, second) << "a control that is no tab stop is skipped";
    Key(KeyRelease, XK_Tab);
    EXPECT_EQ(Application::focusedElement, third);
    log.clear();
    Key(KeyRelease, XK_Tab);
    EXPECT_EQ(Application::focusedElement, first) << "from the last back to the first";
    EXPECT_EQ(log, (Journal{"c" + Id(third) + " FocusOut", "c" + Id(first) + " FocusIn",
                            "form KeyChar 9", "form KeyUp " + std::to_string(XK_Tab)}));
}

TEST_F(EventLoopTest, TabDoesNotLeaveAControlThatIsNoTabStop) {
    RecordingControl* label = AddControl(0, 0);
    AddControl(0, 30);
    label->SetTabStop(false);
    Click(5, 5);
    log.clear();
    Key(KeyRelease, XK_Tab);
    EXPECT_EQ(Application::focusedElement, label);
    const std::string c = "c" + Id(label);
    EXPECT_EQ(log, (Journal{c + " KeyChar 9", c + " KeyUp " + std::to_string(XK_Tab),
                            "form KeyChar 9", "form KeyUp " + std::to_string(XK_Tab)}));
}

TEST_F(EventLoopTest, KeysPressToKeysymsAndReleaseToCharacters) {
    RecordingControl* box = AddControl(0, 0);
    Click(5, 5);
    log.clear();
    Key(KeyPress, XK_a);
    EXPECT_TRUE(Application::IsKeyDown('a'));
    Key(KeyRelease, XK_a);
    EXPECT_FALSE(Application::IsKeyDown('a'));
    const std::string c = "c" + Id(box);
    const std::string keysym = std::to_string(XK_a);
    EXPECT_EQ(log, (Journal{c + " KeyDown " + keysym, "form KeyDown " + keysym,
                            c + " KeyChar 97", c + " KeyUp " + keysym, "form KeyChar 97",
                            "form KeyUp " + keysym}));
}

TEST_F(EventLoopTest, DisabledFormHearsOnlyMousePressAndRelease) {
    AddControl(10, 10);
    form->SetEnabled(false);
    Click(20, 15);
    Key(KeyPress, XK_a);
    Key(KeyRelease, XK_a);
    EXPECT_EQ(log, (Journal{"form MouseDown", "form Click"}));
    EXPECT_EQ(Application::focusedElement, nullptr);
    EXPECT_FALSE(Application::IsKeyDown('a'));
}

TEST_F(EventLoopTest, OtherButtonsReachOnlyTheForm) {
    AddControl(10, 10);
    Click(20, 15, Button2);
    Click(20, 15, Button5);
    EXPECT_EQ(log, (Journal{"form OtherButtonDown", "form OtherButtonUp"}));
}

TEST_F(EventLoopTest, ConfigureResizesBeforeStoringAndMovesQuietly) {
    Configure(10, 20, 300, 200);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(form->GetSize(), PackPoint(300, 200));
    Configure(10, 20, 320, 200);
    EXPECT_EQ(log, Journal{"form Resize 300x200"}) << "OnResize sees the old size";
    EXPECT_EQ(form->GetSize(), PackPoint(320, 200));
}

TEST_F(EventLoopTest, MainFormCloseBoxOnlyAsks) {
    windows.SendDeleteWindow(form->GetWindow());
    PumpEvents(form.get(), 300);
    EXPECT_EQ(log, Journal{"form Closing"});
    EXPECT_TRUE(form->IsCreated());
}

TEST_F(EventLoopTest, EventsForUnknownWindowsAreDropped) {
    XEvent event{};
    event.type = ButtonPress;
    event.xbutton.window = DefaultRootWindow(observer);
    event.xbutton.button = Button1;
    DispatchEvent(form.get(), event);
    EXPECT_TRUE(log.empty());
}

TEST_F(EventLoopTest, RealClickAndKeyReachTheControlThroughRun) {
    RecordingControl* button = AddControl(40, 40, 100, 40);
    form->SetOnClosing(QuitOnClose);
    const Window window = form->GetWindow();
    const char* displayName = getenv("DISPLAY");

    // Another client plays the user: it clicks the control, types a key and closes the
    // window, which ends the loop through the form's closing hook.
    std::thread user([window, displayName] {
        Display* display = XOpenDisplay(displayName);
        if (display == nullptr) {
            return;
        }
        WindowFinder userWindows(display, "");
        InputSender userInput(display);
        userWindows.WaitUntilManaged(window, 5000);
        userInput.Click(window, 60, 55);
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
        // The window manager replays a click on a window it is focusing; give that replay
        // time to reach the loop before the key, as a person's typing would.
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        userInput.TapKey(XK_b);
        userWindows.SendDeleteWindow(window);
        XCloseDisplay(display);
    });
    ::Run(form.get());
    user.join();

    const std::string c = "c" + Id(button);
    const Journal expected{c + " FocusIn", c + " MouseDown 60,55", "form MouseDown",
                           c + " Click 60,55", "form Click"};
    // The window manager may hold the click on a window it has not focused yet and replay it
    // after the key, so only the click's own sequence is compared.
    const auto start = std::find(log.begin(), log.end(), c + " FocusIn");
    ASSERT_LE(start + 5, log.end());
    EXPECT_EQ(Journal(start, start + 5), expected);
    EXPECT_NE(std::find(log.begin(), log.end(), c + " KeyChar 98"), log.end());
    EXPECT_EQ(log.back(), "form Closed") << "the loop ends with the main form's OnClosed";
    EXPECT_FALSE(form->IsCreated()) << "shut-down destroys the windows";
}

TEST_F(EventLoopTest, KeysTypedIntoAnotherFormNeverReachTheFocusedControl) {
    RecordingControl* button = AddControl(10, 10);
    Click(20, 15);
    Journal dialogLog;
    RecordingForm dialog(&dialogLog, true);
    dialog.SetScreen(screen.get());
    dialog.Show();
    log.clear();
    SendKey(form.get(), &dialog, KeyPress, XK_Return);
    SendKey(form.get(), &dialog, KeyRelease, XK_Return);
    EXPECT_TRUE(log.empty()) << "the main form's control heard nothing";
    EXPECT_EQ(dialogLog, (Journal{"form KeyDown " + std::to_string(XK_Return), "form KeyChar 13",
                                  "form KeyUp " + std::to_string(XK_Return)}));
    EXPECT_EQ(Application::focusedElement, button);
}

// Otherwise the control would go on drawing itself focused beside the next one to get the focus.
TEST_F(EventLoopTest, ClosingAWindowTellsTheFocusedControlItLostTheFocus) {
    RecordingControl* button = AddControl(10, 10);
    Click(20, 15);
    RecordingForm dialog(nullptr, true);
    dialog.SetScreen(screen.get());
    dialog.Show();
    log.clear();
    dialog.DestroyWindow();
    EXPECT_EQ(log, Journal{"c" + Id(button) + " FocusOut"});
    EXPECT_EQ(Application::focusedElement, nullptr);
}

namespace {
std::unique_ptr<Form> doomed;
bool CloseAndDestroy(GUIElement*, int) {
    doomed.reset();
    return true;
}
} // namespace

TEST_F(EventLoopTest, AFormDestroyedByItsOwnKeyHandlerIsNotTouchedAgain) {
    doomed = std::make_unique<Form>(0);
    doomed->SetScreen(screen.get());
    doomed->SetOnKeyChar(CloseAndDestroy);
    doomed->Show();
    SendKey(form.get(), doomed.get(), KeyRelease, XK_Escape);
    EXPECT_EQ(doomed, nullptr);
}

namespace {
int ticks = 0;
void CountTickAndQuitAfterTwenty(Timer*) {
    if (++ticks == 20) {
        Application::quitRequested = true;
    }
}
double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}
} // namespace

// Between ticks and events the loop must block; a loop that polls or spins would burn a whole
// core for as long as a game runs.
TEST_F(EventLoopTest, TheLoopSleepsBetweenTicks) {
    Timer timer(form.get(), 50);
    timer.SetOnTick(CountTickAndQuitAfterTwenty);
    PumpEvents(form.get(), 100);
    const auto start = std::chrono::steady_clock::now();
    const double cpuBefore = CpuSeconds();
    timer.Start();
    ::Run(form.get());
    const double cpu = CpuSeconds() - cpuBefore;
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(ticks, 20);
    EXPECT_LT(cpu, 0.2 * wall) << cpu << " s of CPU in " << wall << " s";
}

// A wait that fails for good must end the loop, not turn it into a spin: poll refuses more
// descriptors than the process may hold, which makes it fail the same way every time.
TEST_F(EventLoopTest, AWaitThatKeepsFailingEndsTheLoopWithOneLogLine) {
    // The loop's own pipe is made first; with the limit in force it could not be.
    ASSERT_TRUE(PrepareTimerWakeup());
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &previous), 0);
    const rlimit one{1, previous.rlim_max};
    testing::internal::CaptureStdout();
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &one), 0);
    const bool quit = ::Run(form.get());
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &previous), 0);
    EXPECT_FALSE(quit);
    // No file can be opened under the limit, so the line reaches standard output alone.
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "poll failed: Invalid argument\n");
    EXPECT_FALSE(form->IsCreated()) << "the windows are closed as at a normal end";
}
