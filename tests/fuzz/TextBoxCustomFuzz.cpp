// The text box driven by keys, characters, clicks and text changes taken from the input, in
// modes and at a size chosen by its first bytes. The handlers are called directly, as the
// event loop would call them, so that an input costs no round trip to the X server; the box
// still paints through the toolkit into a real window, which needs the X server that
// scripts/fuzz.sh starts.
//
// After every event the caret stands inside the buffer, and a shown box never holds more
// than maxLength bytes. The text is read only where the input asks for it and at the end,
// because reading it also stores it: read after every event, a hidden box would never drop
// what was typed since the last read, as Show should.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <fuzzer/FuzzedDataProvider.h>
#include <iterator>
#include <string>

#include "FuzzCheck.h"
#include "app/Screen.h"
#include "gui/controls/TextBoxCustom.h"
#include "gui/core/Form.h"
#include "gui/core/Keys.h"
#include "gui/core/PackedPoint.h"

namespace {

const int kBoxX = 20;
const int kDateLength = 10;
// From no cell at all to more cells than the box keeps records for; the form holds the largest.
const int kSizes[][2] = {{8, 8}, {40, 20}, {120, 30}, {400, 200}, {1000, 700}};
const int kLongLengths[] = {0, 256, 1000, 1600, 2000, 5000};
const Key kKeys[] = {kKeyLeft, kKeyRight, kKeyUp, kKeyDown, kKeyHome, kKeyEnd};
// Backspace, Delete, Enter and Escape.
const int kEditing[] = {8, 127, 13, 27};

// One connection and one shown form for the whole run: opening them per input would cost
// more than the input itself.
Form* form = nullptr;

} // namespace

// The toolkit flushes after every drawing primitive, which suits a program that then waits
// for the next event; here it would make each input cost hundreds of system calls and as
// many wake-ups of the X server. Defined in the program, this stands in for Xlib's own, and
// the requests go out whole buffers at a time: when the buffer is full, and when the queue
// is read after each input. The server receives exactly the same requests.
extern "C" int XFlush(Display*) {
    return 1;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Screen* screen = new Screen("fuzz");
    Require(!screen->HasFailed(), "the X server named by DISPLAY answers");
    form = new Form(0);
    form->SetScreen(screen);
    form->SetSize(1000 + 2 * kBoxX, 700 + 2 * kBoxX);
    form->Show();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const auto pick = [&](const auto& choices) -> const auto& {
        return choices[input.ConsumeIntegralInRange<size_t>(0, std::size(choices) - 1)];
    };
    const uint16_t modes = input.ConsumeIntegral<uint16_t>();
    const auto on = [modes](int bit) { return (modes >> bit & 1) != 0; };
    const int* boxSize = pick(kSizes);
    TextBoxCustom box(form, input.ConsumeRandomLengthString(64));
    // What the box's setters say it holds: at most maxLength bytes, line breaks or not.
    int maxLength = 0;
    const bool multiLine = on(0) || on(7);
    const auto setMaxLength = [&] {
        const uint8_t choice = input.ConsumeIntegral<uint8_t>();
        const int value = choice < 250 ? choice : kLongLengths[choice - 250];
        // Taken only while the box is not created, which a hidden box is not.
        maxLength = box.IsCreated() ? maxLength : value;
        box.SetMaxLength(value);
    };
    const auto setDateMode = [&](bool date) {
        box.SetDateMode(date);
        maxLength = date ? kDateLength : maxLength;
    };
    const auto checkLength = [&] {
        Require(!box.IsCreated() || box.GetText().size() <= static_cast<size_t>(maxLength),
                "a shown box never holds more than maxLength");
    };
    // A shown box holds the first line of a text unless it is multi-line, at most maxLength
    // bytes of it, less trailing blanks and anything from a 0 byte on. Painting blanks the
    // first character that does not fit the grid, so each byte read back is the one set
    // there or a blank.
    const auto setText = [&] {
        std::string text = input.ConsumeRandomLengthString(2 * static_cast<size_t>(maxLength) + 2);
        box.SetText(text);
        text = multiLine ? text : text.substr(0, text.find('\n'));
        const std::string held = box.IsCreated() ? box.GetText() : "";
        bool cut = held.size() <= std::min(text.size(), static_cast<size_t>(maxLength));
        for (size_t i = 0; cut && i < held.size(); ++i) {
            cut = held[i] != '\0' && (held[i] == text[i] || held[i] == ' ');
        }
        Require(cut, "a text set on a shown box reads back cut to the box");
    };
    const auto click = [&] { // anywhere on the box and a little around it
        const int x = kBoxX - 10 + input.ConsumeIntegralInRange(0, box.GetWidth() + 20);
        const int y = kBoxX - 10 + input.ConsumeIntegralInRange(0, box.GetHeight() + 20);
        box.OnClick(PackPoint(x, y));
    };

    box.SetPosition(kBoxX, kBoxX);
    box.SetSize(boxSize[0], boxSize[1]);
    setMaxLength();
    box.SetMultiLine(on(0));
    box.SetDigitsOnly(on(2));
    box.SetAllowDecimalPoint(on(3));
    box.SetPassword(on(4));
    box.SetReadOnly(on(5));
    box.Enable(!on(6));
    // Either mode can be set last, and each undoes part of the other.
    if (on(11)) {
        box.SetDeleteCloses(on(7));
    }
    setDateMode(on(1));
    if (!on(11)) {
        box.SetDeleteCloses(on(7));
    }
    box.Show();
    if (on(12)) {
        box.SetFocus();
    }
    // What the event loop calls, and what a program may do to a shown box.
    const std::function<void()> events[] = {
        [&] { box.OnKeyDown(pick(kKeys)); },
        [&] { box.OnKeyUp(pick(kKeys)); },
        [&] { box.OnKeyChar(pick(kEditing)); },
        [&] { box.OnKeyChar(input.ConsumeIntegralInRange(32, 126)); },
        [&] { box.OnKeyChar(input.ConsumeIntegral<uint8_t>()); },
        click,
        setText,
        checkLength,
        [&] { box.Hide(); },
        [&] { box.Show(); },
        setMaxLength,
        [&] { setDateMode(input.ConsumeBool()); },
    };
    for (int count = 0; count < 256 && input.remaining_bytes() > 0; ++count) {
        pick(events)();
        Require(!box.IsCreated() || (box.GetCaret() >= 0 && box.GetCaret() <= maxLength),
                "the caret stays within the buffer");
    }
    checkLength();

    // Sends what the input drew, and reads the server's answers so that Xlib's queue does not
    // grow over a million inputs.
    Display* display = form->GetScreen()->GetDisplay();
    for (XEvent event; XPending(display) > 0;) {
        XNextEvent(display, &event);
    }
    unlink("log.txt");
    return 0;
}
