// The text box driven by a sequence of keys, characters, clicks and text changes decoded from
// the input, in modes and at a size chosen by its first bytes. The handlers are called
// directly, as the event loop would call them, so that an input costs no round trip to the
// X server; the box still paints through the toolkit into a real window, which needs the X
// server that scripts/fuzz.sh starts.
//
// After every event the caret stands inside the buffer. The text is read only where the
// input asks for it and at the end, because reading it also stores it: read after every
// event, a hidden box would never drop what was typed since the last read, as Show should.
// It never exceeds maxLength, and a text set on a shown box reads back cut to the box.
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <iterator>
#include <memory>
#include <string>

#include "FuzzCheck.h"
#include "app/Screen.h"
#include "gui/controls/TextBoxCustom.h"
#include "gui/core/Form.h"
#include "gui/core/Keys.h"
#include "gui/core/PackedPoint.h"

namespace {

const int kBoxX = 20;
const int kBoxY = 20;
const int kDateLength = 10;
const size_t kMaxEvents = 256;

struct Size {
    int width, height;
};
// From no cell at all to more cells than the box keeps records for.
const Size kSizes[] = {{8, 8}, {40, 20}, {120, 30}, {400, 200}, {1000, 700}};
const int kLongLengths[] = {0, 256, 1000, 1600, 2000, 5000};
const Key kKeys[] = {kKeyLeft, kKeyRight, kKeyUp, kKeyDown, kKeyHome, kKeyEnd};
const int kEditingCharacters[] = {8, 127, 13, 27};

enum Mode : uint16_t {
    kMultiLine = 1 << 0,
    kDateMode = 1 << 1,
    kDigitsOnly = 1 << 2,
    kDecimalPoint = 1 << 3,
    kPassword = 1 << 4,
    kReadOnly = 1 << 5,
    kDisabled = 1 << 6,
    kDeleteCloses = 1 << 7,
    kAlignRight = 1 << 8,
    kAlignCenter = 1 << 9,
    kNoBorder = 1 << 10,
    kDateLast = 1 << 11,
    kFocused = 1 << 12,
};

enum Event {
    kKeyDown,
    kKeyUp,
    kEditingChar,
    kPrintableChar,
    kAnyChar,
    kClick,
    kSetText,
    kGetText,
    kHide,
    kShow,
    kSetMaxLength,
    kSetDateMode,
    kLastEvent = kSetDateMode
};

// One connection and one shown form for the whole run: opening them per input would cost
// more than the input itself.
Form& TheForm() {
    static Screen* screen = new Screen("fuzz");
    static Form* form = [] {
        Require(!screen->HasFailed(), "the X server named by DISPLAY answers");
        Form* made = new Form(0);
        made->SetScreen(screen);
        made->Move(0, 0);
        made->SetSize(kSizes[4].width + 2 * kBoxX, kSizes[4].height + 2 * kBoxY);
        made->Show();
        XSync(screen->GetDisplay(), False);
        return made;
    }();
    return *form;
}

// What a shown box can hold of a text: its first line unless it is multi-line, at most
// maxLength bytes.
std::string CutToBox(std::string text, bool multiLine, int maxLength) {
    if (!multiLine) {
        text = text.substr(0, text.find('\n'));
    }
    return text.substr(0, static_cast<size_t>(maxLength));
}

// The box reads its text up to the first 0 byte, less trailing blanks, and painting blanks
// the first character that does not fit the grid, which may be that 0 byte: so each byte
// read back is the one set there or a blank, and no 0 byte is read.
bool HoldsCutText(const std::string& held, const std::string& cut) {
    if (held.size() > cut.size()) {
        return false;
    }
    for (size_t i = 0; i < held.size(); ++i) {
        if (held[i] == '\0' || (held[i] != cut[i] && held[i] != ' ')) {
            return false;
        }
    }
    return true;
}

class Session {
  public:
    explicit Session(FuzzedDataProvider& input) : input(input) {}

    void Run() {
        const uint16_t modes = input.ConsumeIntegral<uint16_t>();
        const Size size = kSizes[input.ConsumeIntegralInRange<size_t>(0, std::size(kSizes) - 1)];
        box = std::make_unique<TextBoxCustom>(&TheForm(), input.ConsumeRandomLengthString(64));
        box->SetPosition(kBoxX, kBoxY);
        box->SetSize(size.width, size.height);
        SetMaxLength();
        Configure(modes);
        box->Show();
        if (modes & kFocused) {
            box->SetFocus();
        }
        CheckCaret();
        for (size_t count = 0; count < kMaxEvents && input.remaining_bytes() > 0; ++count) {
            Apply(static_cast<Event>(input.ConsumeIntegralInRange<int>(0, kLastEvent)));
            CheckCaret();
        }
        CheckText();
    }

  private:
    void Configure(uint16_t modes) {
        box->SetMultiLine(modes & kMultiLine);
        box->SetDigitsOnly(modes & kDigitsOnly);
        box->SetAllowDecimalPoint(modes & kDecimalPoint);
        box->SetPassword(modes & kPassword);
        box->SetReadOnly(modes & kReadOnly);
        box->Enable(!(modes & kDisabled));
        box->SetAlignRight(modes & kAlignRight);
        box->SetAlignCenter(modes & kAlignCenter);
        box->SetBorder(!(modes & kNoBorder));
        // Either mode can be set last, and each undoes part of the other.
        const bool date = modes & kDateMode;
        const bool closes = modes & kDeleteCloses;
        if (modes & kDateLast) {
            box->SetDeleteCloses(closes);
            box->SetDateMode(date);
        } else {
            box->SetDateMode(date);
            box->SetDeleteCloses(closes);
        }
        multiLine = (modes & kMultiLine) || closes;
        if (date) {
            maxLength = kDateLength;
        }
    }

    // Taken only while the box is not created, which a hidden box is not.
    void SetMaxLength() {
        const uint8_t choice = input.ConsumeIntegral<uint8_t>();
        const int value = choice < 250 ? choice : kLongLengths[choice - 250];
        box->SetMaxLength(value);
        if (!box->IsCreated()) {
            maxLength = value;
        }
    }

    void Apply(Event event) {
        switch (event) {
        case kKeyDown:
            box->OnKeyDown(kKeys[input.ConsumeIntegralInRange<size_t>(0, std::size(kKeys) - 1)]);
            break;
        case kKeyUp:
            box->OnKeyUp(kKeys[input.ConsumeIntegralInRange<size_t>(0, std::size(kKeys) - 1)]);
            break;
        case kEditingChar:
            box->OnKeyChar(kEditingCharacters[input.ConsumeIntegralInRange<size_t>(
                0, std::size(kEditingCharacters) - 1)]);
            break;
        case kPrintableChar:
            box->OnKeyChar(input.ConsumeIntegralInRange(32, 126));
            break;
        case kAnyChar:
            box->OnKeyChar(input.ConsumeIntegral<uint8_t>());
            break;
        case kClick: {
            // Anywhere on the box and a little around it.
            const int x = kBoxX - 10 + input.ConsumeIntegralInRange(0, box->GetWidth() + 20);
            const int y = kBoxY - 10 + input.ConsumeIntegralInRange(0, box->GetHeight() + 20);
            box->OnClick(PackPoint(x, y));
            break;
        }
        case kSetText: {
            const std::string text = input.ConsumeRandomLengthString(2 * maxLength + 2);
            box->SetText(text);
            if (box->IsCreated()) {
                Require(HoldsCutText(box->GetText(), CutToBox(text, multiLine, maxLength)),
                        "a text set on a shown box reads back cut to the box");
            }
            break;
        }
        case kGetText:
            CheckText();
            break;
        case kHide:
            box->Hide();
            break;
        case kShow:
            box->Show();
            break;
        case kSetMaxLength:
            SetMaxLength();
            break;
        case kSetDateMode: {
            const bool date = input.ConsumeBool();
            box->SetDateMode(date);
            if (date) {
                maxLength = kDateLength;
            }
            break;
        }
        }
    }

    void CheckCaret() {
        if (box->IsCreated()) {
            Require(box->GetCaret() >= 0 && box->GetCaret() <= maxLength,
                    "the caret stays within the buffer");
        }
    }

    // A hidden box keeps whatever text it was given; only a shown one is cut to its buffer.
    void CheckText() {
        const std::string text = box->GetText();
        if (box->IsCreated()) {
            Require(text.size() <= static_cast<size_t>(maxLength),
                    "the text is never longer than maxLength");
        }
    }

    FuzzedDataProvider& input;
    std::unique_ptr<TextBoxCustom> box;
    int maxLength = 0;
    bool multiLine = false;
};

} // namespace

// The toolkit flushes after every drawing primitive, which suits a program that then waits
// for the next event; here it would make each input cost hundreds of system calls and as
// many wake-ups of the X server. Defined in the program, this stands in for Xlib's own, and
// the requests go out whole buffers at a time: when the buffer is full, and when the queue
// is read after each input. The server receives exactly the same requests.
extern "C" int XFlush(Display*) {
    return 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    Session(input).Run();
    // Sends what the input drew, and reads the server's answers so that Xlib's queue does not
    // grow over a million inputs.
    Display* display = TheForm().GetScreen()->GetDisplay();
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
    }
    ClearLog();
    return 0;
}
