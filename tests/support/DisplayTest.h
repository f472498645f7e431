#pragma once

#include <gtest/gtest.h>
#include <memory>

#include "app/Screen.h"
#include "gui/core/Form.h"
#include "support/TempFolder.h"
#include "tools/driver/InputSender.h"
#include "tools/driver/ScreenReader.h"
#include "tools/driver/WindowFinder.h"

// Base of the tests that run against the real X server: the toolkit's own connection through
// a Screen, a second connection that sees the server the way another client would (window
// properties, real input through XTest, pixels read back), and a temporary working folder
// for the log.
class DisplayTest : public ::testing::Test {
  protected:
    DisplayTest()
        : observer(XOpenDisplay(nullptr)), windows(observer, ""), input(observer),
          reader(observer) {}
    ~DisplayTest() override {
        if (observer != nullptr) {
            XCloseDisplay(observer);
        }
    }
    void SetUp() override {
        ASSERT_NE(observer, nullptr) << "these tests need the X server named by DISPLAY";
        screen = std::make_unique<Screen>("test");
        ASSERT_NE(screen->GetDisplay(), nullptr);
    }

    // Shows the form on the test's screen; its window, once the window manager has it.
    Window ShowManaged(Form& form) {
        form.SetScreen(screen.get());
        form.Show();
        XSync(screen->GetDisplay(), False);
        EXPECT_TRUE(windows.WaitUntilManaged(form.GetWindow(), 5000));
        return form.GetWindow();
    }

    TempFolder workDir{true};
    std::unique_ptr<Screen> screen;
    Display* observer;
    WindowFinder windows;
    InputSender input;
    ScreenReader reader;
};
