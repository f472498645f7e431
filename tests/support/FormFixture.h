#pragma once

#include <memory>

#include "support/DisplayTest.h"
#include "support/TestElements.h"

// A shown form at the top left of the screen, with helpers to read back what it shows and to
// feed it events through the toolkit's dispatch.
class FormFixture : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        form = std::make_unique<RecordingForm>();
        form->SetScreen(screen.get());
        form->Move(0, 0);
        form->SetSize(400, 300);
        form->SetBackColor(backColor);
        form->Show();
        XSync(screen->GetDisplay(), False);
        ASSERT_TRUE(xtest::WaitForViewable(observer, form->GetWindow()));
        // The first exposure must be handled before the test paints, or it would paint over.
        xtest::PumpEvents(form.get(), 50);
    }
    void TearDown() override {
        form.reset();
        DisplayTest::TearDown();
    }

    // The toolkit's requests are synced first: the server may otherwise answer the observer
    // before it has drawn what the toolkit flushed.
    unsigned long Pixel(int x, int y) {
        XSync(screen->GetDisplay(), False);
        return xtest::ReadPixel(observer, form->GetWindow(), x, y);
    }
    int Count(int x, int y, int w, int h, unsigned long color) {
        XSync(screen->GetDisplay(), False);
        return xtest::CountPixels(observer, form->GetWindow(), x, y, w, h, color);
    }
    void Pump(int milliseconds = 30) { xtest::PumpEvents(form.get(), milliseconds); }

    int64_t backColor = 0x000000;
    std::unique_ptr<RecordingForm> form;
};
