#pragma once

#include <gtest/gtest.h>
#include <memory>

#include "app/Screen.h"
#include "support/TempFolder.h"
#include "support/XTestSupport.h"

// Base of the tests that run against the real X server: the toolkit's own connection through
// a Screen, a second connection that reads the server's view the way another client would,
// and a temporary working folder for the log.
class DisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        screen = std::make_unique<Screen>("test");
        ASSERT_NE(screen->GetDisplay(), nullptr);
        observer = xtest::OpenDisplay();
        ASSERT_NE(observer, nullptr);
    }
    void TearDown() override {
        if (observer != nullptr) {
            XCloseDisplay(observer);
        }
    }

    TempFolder workDir{true};
    std::unique_ptr<Screen> screen;
    Display* observer = nullptr;
};
