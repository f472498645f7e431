#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include "app/EventLoop.h"
#include "gui/controls/Timer.h"
#include "support/DisplayTest.h"
#include "support/EventPump.h"
#include "support/TestElements.h"
#include "tools/harness/ProcReader.h"

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
        XSync(screen->GetDisplay(), False);
    }
    RecordingControl* AddControl(int x, int y, bool tabStop = true) {
        controls.push_back(std::make_unique<RecordingControl>(form.get(), "c", x, y, 50, 20, &log));
        controls.back()->Show();
        controls.back()->SetTabStop(tabStop);
        // Clicks right after construction would count as double clicks.
        controls.back()->SetLastClickTime(DateTime(2000, 1, 1));
        return controls.back().get();
    }
    // The control's name in the journal, followed by a blank.
    static std::string Name(GUIElement* control) {
        return "c" + std::to_string(control->GetId()) + " ";
    }
    void Click(int x, int y, unsigned int button = Button1) {
        SendClick(form.get(), form.get(), x, y, button);
    }
    void Key(int type, KeySym key) { SendKey(form.get(), form.get(), type, key); }
    // What the handlers heard since the last look, and where the focus ended up.
    void Expect(const Journal& expected, GUIElement* focus) {
        EXPECT_EQ(log, expected);
        EXPECT_EQ(Application::focusedElement, focus);
        log.clear();
    }

    Journal log;
    std::unique_ptr<RecordingForm> form;
    std::vector<std::unique_ptr<RecordingControl>> controls;
};

} // namespace

TEST_F(EventLoopTest, MouseButtonsMoveTheFocusAndReachTheForm) {
    const std::string c = Name(AddControl(10, 10));
    Click(20, 15);
    Expect(
        {c + "FocusIn", c + "MouseDown 20,15", "form MouseDown", c + "Click 20,15", "form Click"},
        controls.back().get());
    Click(200, 150);
    Expect({c + "FocusOut", "form MouseDown", "form Click"}, nullptr);
    SendButton(form.get(), form.get(), ButtonPress, Button1, 20, 15);
    SendButton(form.get(), form.get(), ButtonRelease, Button1, 200, 150);
    Expect({c + "FocusIn", c + "MouseDown 20,15", "form MouseDown", c + "FocusOut", "form Click"},
           nullptr);
    Click(20, 15, Button2);
    Click(20, 15, Button5);
    Expect({"form OtherButtonDown", "form OtherButtonUp"}, nullptr);
    // A disabled form hears only presses and releases.
    form->SetEnabled(false);
    Click(20, 15);
    Key(KeyPress, XK_a);
    Key(KeyRelease, XK_a);
    Expect({"form MouseDown", "form Click"}, nullptr);
    // Codes outside the key table are never down.
    EXPECT_FALSE(Application::IsKeyDown('a') || Application::IsKeyDown(300) ||
                 Application::IsKeyDown(-1));
}

TEST_F(EventLoopTest, KeysReachTheFocusedControlThenTheFormAndTabWalksTabStopsById) {
    RecordingControl* first = AddControl(0, 0);
    RecordingControl* label = AddControl(0, 30, false);
    RecordingControl* second = AddControl(0, 60);
    AddControl(0, 90, false);
    // No focus: the first tab stop; then the next one by id, skipping the rest, and round.
    for (GUIElement* expected : {first, second, first}) {
        log.clear();
        Key(KeyRelease, XK_Tab);
        EXPECT_EQ(Application::focusedElement, expected);
    }
    const std::string tab = std::to_string(XK_Tab), a = std::to_string(XK_a);
    Expect(
        {Name(second) + "FocusOut", Name(first) + "FocusIn", "form KeyChar 9", "form KeyUp " + tab},
        first);
    // A press is a keysym, a release a character.
    Key(KeyPress, XK_a);
    EXPECT_TRUE(Application::IsKeyDown('a'));
    Key(KeyRelease, XK_a);
    EXPECT_FALSE(Application::IsKeyDown('a'));
    std::string c = Name(first);
    Expect({c + "KeyDown " + a, "form KeyDown " + a, c + "KeyChar 97", c + "KeyUp " + a,
            "form KeyChar 97", "form KeyUp " + a},
           first);
    // Tab never leaves a control that is no tab stop.
    Click(5, 35);
    log.clear();
    Key(KeyRelease, XK_Tab);
    c = Name(label);
    Expect({c + "KeyChar 9", c + "KeyUp " + tab, "form KeyChar 9", "form KeyUp " + tab}, label);
}

namespace {
std::unique_ptr<Form> doomed;
int ticks = 0;
} // namespace

TEST_F(EventLoopTest, AFormDestroyedByItsOwnKeyHandlerIsNotTouchedAgain) {
    doomed = std::make_unique<Form>(0);
    doomed->SetScreen(screen.get());
    doomed->SetOnKeyChar([](GUIElement*, int) {
        doomed.reset();
        return true;
    });
    doomed->Show();
    SendKey(form.get(), doomed.get(), KeyRelease, XK_Escape);
    EXPECT_EQ(doomed, nullptr);
}

// Between ticks and events the loop must block in its wait, waking once per tick. A loop that
// spins never sleeps and one that polls sleeps far more often; either would burn a core for as
// long as a game runs. Counting sleeps rather than CPU time keeps the answer the same on a busy
// machine.
TEST_F(EventLoopTest, TheLoopSleepsOncePerTickAndNoMore) {
    Timer timer(form.get(), 50);
    timer.SetOnTick([](Timer*) { Application::quitRequested = ++ticks == 20; });
    PumpEvents(form.get(), 100);
    const long long sleepsBefore = StatusField(getpid(), "voluntary_ctxt_switches");
    timer.Start();
    ::Run(form.get());
    Application::quitRequested = false; // honoured; later tests in this process run loops too
    const long long sleeps = StatusField(getpid(), "voluntary_ctxt_switches") - sleepsBefore;
    EXPECT_EQ(ticks, 20);
    // A tick that comes while the loop is still busy with the last one finds it awake.
    EXPECT_TRUE(sleeps >= 10 && sleeps <= 60) << sleeps << " sleeps in 20 ticks";
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
