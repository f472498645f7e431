#pragma once

#include <memory>

#include "gui/graphics/DrawingContext.h"
#include "support/DisplayTest.h"
#include "support/EventPump.h"
#include "support/TestElements.h"
#include "tools/driver/ExpectedPixels.h"

// Colours the tests fill with and read back, each unmistakable for another.
constexpr unsigned long kRed = 0xff0000, kGreen = 0x00ff00, kBlue = 0x0000ff, kYellow = 0xffff00;
constexpr unsigned long kWhite = 0xffffff, kBlack = 0x000000;

// A shown form at the top left of the screen, with helpers to read back what it shows and to
// feed it events through the toolkit's dispatch.
class FormFixture : public DisplayTest {
  protected:
    void SetUp() override {
        DisplayTest::SetUp();
        commands = 0;
        form = std::make_unique<RecordingForm>();
        form->SetScreen(screen.get());
        form->Move(0, 0);
        form->SetSize(400, 300);
        form->SetBackColor(backColor);
        form->Show();
        XSync(screen->GetDisplay(), False);
        ASSERT_TRUE(windows.WaitUntilManaged(form->GetWindow(), 5000));
        // The first exposure must be handled before the test paints, or it would paint over.
        PumpEvents(form.get(), 50);
    }
    void TearDown() override {
        form.reset();
        if (font != nullptr) {
            XFreeFont(observer, font);
        }
    }

    // The toolkit's requests are synced first: the server may otherwise answer the observer
    // before it has drawn what the toolkit flushed.
    unsigned long Pixel(int x, int y) {
        XSync(screen->GetDisplay(), False);
        return reader.Pixel(form->GetWindow(), x, y);
    }
    int Count(const Area& area, unsigned long color) {
        XSync(screen->GetDisplay(), False);
        return reader.Count(form->GetWindow(), area, color);
    }
    Pixels Read(const Area& area) {
        XSync(screen->GetDisplay(), False);
        return reader.ReadWindow(form->GetWindow(), area);
    }
    // Paints exactly the area in one colour, for a known background under what a test draws.
    void Fill(const Area& area, long color) {
        DrawingContext dc(form.get());
        FillRect(dc, area.x, area.y, area.w + 1, area.h + 1, 0, -1, color);
    }
    void Pump(int milliseconds = 30) { PumpEvents(form.get(), milliseconds); }
    // Places an element on its parent and shows it.
    void Place(GUIElement& element, const Area& area) {
        element.Move(area.x, area.y);
        element.SetSize(area.w, area.h);
        element.Show();
    }
    // A key tapped and a left click on the form, dispatched at once.
    void Tap(KeySym key) { SendKeyTap(form.get(), form.get(), key); }
    void ClickAt(int x, int y) { SendClick(form.get(), form.get(), x, y); }
    // The command most controls are given in these tests; SetUp clears the count.
    static void CountCommand(GUIElement*) { ++commands; }
    // A text as the toolkit draws it into a w x h box, with the program's font.
    Pixels Text(int w, int h, const std::string& text, unsigned long fg, unsigned long bg,
                int alignment) {
        if (font == nullptr) {
            font = LoadProgramFont(observer);
        }
        return RenderText(observer, font, w, h, text, fg, bg, alignment);
    }

    // Neither black, white nor grey, so that no edge or caption a control draws blends into it.
    static constexpr unsigned long kFormColour = 0x336699;
    int64_t backColor = kFormColour;
    static inline int commands = 0;
    std::unique_ptr<RecordingForm> form;
    XFontStruct* font = nullptr; // the program's, once Text has loaded it
};
