// How the program is driven: Run is the only loop. Each turn it first honours a quit request,
// then runs the timers if the interval timer expired since the last turn, and otherwise reads
// one X event and dispatches it. While idle it blocks in poll() on two descriptors at once:
// the X connection and a self-pipe that the SIGALRM handler writes one byte to. So ticks arrive
// while the user does nothing, and every tick and every event handler runs on this one thread,
// one after the other, with nothing locked.
#include "app/EventLoop.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include "app/Application.h"
#include "app/Screen.h"
#include "gui/core/Form.h"
#include "gui/core/PackedPoint.h"
#include "util/Log.h"

namespace {

static_assert(kKeyBackSpace == XK_BackSpace && kKeyTab == XK_Tab && kKeyReturn == XK_Return &&
                  kKeyEscape == XK_Escape && kKeyHome == XK_Home && kKeyLeft == XK_Left &&
                  kKeyUp == XK_Up && kKeyRight == XK_Right && kKeyDown == XK_Down &&
                  kKeyEnd == XK_End && kKeyDelete == XK_Delete,
              "the toolkit's key names must be the keysyms the loop hands on");

const int kKeyBufferSize = 50;

int wakeupPipe[2] = {-1, -1};
volatile sig_atomic_t expiryRecorded = 0;
void (*expiryHandler)() = nullptr;

struct TranslatedKey {
    Key keysym = 0;
    int character = 0;
};

TranslatedKey TranslateKey(XKeyEvent& event) {
    char buffer[kKeyBufferSize] = {};
    TranslatedKey key;
    KeySym keysym = 0;
    XLookupString(&event, buffer, kKeyBufferSize, &keysym, nullptr);
    key.keysym = keysym;
    key.character = static_cast<signed char>(buffer[0]);
    return key;
}

bool FocusBelongsTo(Form* form) {
    GUIElement* focused = Application::focusedElement;
    return focused != nullptr && focused->GetParent() == form;
}

// The focused control, if it lives in this form. The focus is one for the whole program, so
// while a dialog is open it may still name a control of the window behind; keys typed into the
// dialog must not press that control (its command could destroy the dialog mid-event).
GUIElement* KeyTarget(Form* form) {
    GUIElement* focused = Application::focusedElement;
    return focused != nullptr && Application::GetForm(focused) == form ? focused : nullptr;
}

// A handler may close and destroy the very form whose event is being dispatched.
bool IsRegistered(Form* form) {
    const auto& forms = Application::forms;
    return std::find(forms.begin(), forms.end(), form) != forms.end();
}

void HandleKeyPress(Form* form, XKeyEvent& event) {
    if (!form->IsEnabled()) {
        return;
    }
    const TranslatedKey key = TranslateKey(event);
    if (GUIElement* focused = KeyTarget(form)) {
        focused->OnKeyDown(key.keysym);
        if (!IsRegistered(form)) {
            return;
        }
    }
    if (key.character > 0) {
        Application::keyDown[key.character] = 1;
    }
    form->OnKeyDown(key.keysym);
}

// Tab moves to the next tab stop by id, wrapping to the first one.
void MoveFocusByTab(Form* form) {
    GUIElement* focused = Application::focusedElement;
    const std::vector<GUIElement*> children = Application::CollectChildren(form->GetId());
    GUIElement* next = nullptr;
    for (GUIElement* child : children) {
        if (child->IsTabStop() && (focused == nullptr || child->GetId() > focused->GetId())) {
            next = child;
            break;
        }
    }
    if (next == nullptr) {
        for (GUIElement* child : children) {
            if (child->IsTabStop()) {
                next = child;
                break;
            }
        }
    }
    if (next != nullptr) {
        Application::MoveFocus(next);
    }
}

void HandleKeyRelease(Form* form, XKeyEvent& event) {
    if (!form->IsEnabled()) {
        return;
    }
    const TranslatedKey key = TranslateKey(event);
    GUIElement* focused = KeyTarget(form);
    if (key.keysym == XK_Tab && (focused == nullptr || focused->IsTabStop())) {
        MoveFocusByTab(form);
    } else if (focused != nullptr) {
        if (key.character > 0) {
            focused->OnKeyChar(key.character);
        }
        if (!IsRegistered(form)) {
            return;
        }
        // The character handler may have destroyed the control.
        if (Application::focusedElement == focused) {
            focused->OnKeyUp(key.keysym);
        }
    }
    if (key.character > 0) {
        Application::keyDown[key.character] = 0;
        form->OnKeyChar(key.character);
        if (!IsRegistered(form)) {
            return;
        }
    }
    form->OnKeyUp(key.keysym);
}

void HandleButtonPress(Form* form, XButtonEvent& event) {
    const int64_t point = PackPoint(event.x, event.y);
    if (!form->IsEnabled()) {
        form->OnMouseDown(point);
        return;
    }
    switch (event.button) {
    case Button1: {
        GUIElement* focused = Application::focusedElement;
        if (FocusBelongsTo(form) && focused->HitTest(point)) {
            focused->OnMouseDown(point);
        } else {
            GUIElement* hit = Application::FindChildAt(form->GetId(), point);
            if (hit == nullptr) {
                Application::DropFocus();
            } else if (Application::MoveFocus(hit)) {
                hit->OnMouseDown(point);
            }
        }
        if (IsRegistered(form)) {
            form->OnMouseDown(point);
        }
        break;
    }
    case Button2:
    case Button3:
    case Button4:
        form->OnOtherButtonDown(point);
        break;
    default:
        break;
    }
}

void HandleButtonRelease(Form* form, XButtonEvent& event) {
    const int64_t point = PackPoint(event.x, event.y);
    if (!form->IsEnabled()) {
        form->OnClick(point);
        return;
    }
    switch (event.button) {
    case Button1:
        if (GUIElement* focused = Application::focusedElement) {
            if (focused->GetParent() == form && focused->HitTest(point)) {
                focused->OnClick(point);
            } else {
                Application::DropFocus();
            }
        }
        if (IsRegistered(form)) {
            form->OnClick(point);
        }
        break;
    case Button2:
    case Button3:
    case Button4:
        form->OnOtherButtonUp(point);
        break;
    default:
        break;
    }
}

void HandleMotion(Form* form, XMotionEvent& event) {
    if (!form->IsEnabled()) {
        return;
    }
    GUIElement* focused = Application::focusedElement;
    if (focused != nullptr && focused->GetKind() == "slider") {
        focused->OnMouseMove(event.x, event.y);
    }
    form->OnMouseMove(event.x, event.y);
}

void HandleConfigure(Form* form, XConfigureEvent& event) {
    const int64_t size = form->GetSize();
    if (PointX(size) != event.width || PointY(size) != event.height) {
        form->OnResize();
    }
    form->SetGeometry(event.x, event.y, event.width, event.height);
}

void HandleClientMessage(Form* mainForm, Form* form, XClientMessageEvent& event) {
    if (static_cast<Atom>(event.data.l[0]) != form->GetDeleteWindowAtom()) {
        return;
    }
    // The close button's click, as the window manager timed it; the exit question it opens
    // comes in answer to it.
    if (event.data.l[1] != CurrentTime) {
        Application::userTime = static_cast<Time>(event.data.l[1]);
    }
    if (form->GetId() == mainForm->GetId()) {
        // The main window asks the player first; a YES raises quitRequested.
        form->OnClosing();
        return;
    }
    if (form->OnClosing()) {
        form->DestroyWindow();
        form->OnClosed();
    }
}

// Remembers when the player last pressed or let go of a key or a button.
void RecordUserTime(const XEvent& event) {
    switch (event.type) {
    case KeyPress:
    case KeyRelease:
        Application::userTime = event.xkey.time;
        break;
    case ButtonPress:
    case ButtonRelease:
        Application::userTime = event.xbutton.time;
        break;
    default:
        break;
    }
}

void Shutdown(Form* mainForm) {
    Application::DestroyFormWindows();
    Application::currentMsgBox.reset();
    Application::DestroyRetiredForms();
    mainForm->OnClosed();
}

void OnAlarmSignalSafeWrite() {
    const char byte = 1;
    // A full pipe already holds a wake-up; losing this byte loses nothing.
    const ssize_t written = write(wakeupPipe[1], &byte, 1);
    (void)written;
}

} // namespace

bool PrepareTimerWakeup() {
    if (wakeupPipe[0] >= 0) {
        return true;
    }
    return pipe2(wakeupPipe, O_CLOEXEC | O_NONBLOCK) == 0;
}

void RecordTimerExpiry() {
    const int savedErrno = errno;
    expiryRecorded = 1;
    if (wakeupPipe[1] >= 0) {
        OnAlarmSignalSafeWrite();
    }
    errno = savedErrno;
}

void SetTimerExpiryHandler(void (*handler)()) {
    expiryHandler = handler;
}

bool TakeTimerExpiry() {
    if (wakeupPipe[0] >= 0) {
        char buffer[64];
        while (read(wakeupPipe[0], buffer, sizeof buffer) > 0) {
        }
    }
    if (expiryRecorded == 0) {
        return false;
    }
    // Expiries that piled up while a handler ran are merged into one tick: the game only
    // needs ticks to arrive about once per interval.
    expiryRecorded = 0;
    return true;
}

bool WaitForEventOrExpiry(Display* display) {
    // Xlib may already hold events it read while answering an earlier request; those never
    // make the socket readable again, so check its queue before blocking.
    if (XPending(display) > 0 || expiryRecorded != 0) {
        return true;
    }
    pollfd watched[2] = {};
    watched[0].fd = ConnectionNumber(display);
    watched[0].events = POLLIN;
    watched[1].fd = wakeupPipe[0];
    watched[1].events = POLLIN;
    const nfds_t count = wakeupPipe[0] >= 0 ? 2 : 1;
    // EINTR is the alarm itself arriving; the caller's next turn looks at the record. Any other
    // failure would fail again at once, and retrying it would only spin.
    if (poll(watched, count, -1) < 0 && errno != EINTR) {
        LogString(std::string("poll failed: ") + std::strerror(errno));
        return false;
    }
    return true;
}

void DispatchEvent(Form* mainForm, XEvent& event) {
    // No handler of the last event runs any more: forms retired by it can go.
    Application::DestroyRetiredForms();
    Form* form = Application::FindFormByWindow(event.xany.window);
    if (form == nullptr) {
        return;
    }
    RecordUserTime(event);
    switch (event.type) {
    case KeyPress:
        HandleKeyPress(form, event.xkey);
        break;
    case KeyRelease:
        HandleKeyRelease(form, event.xkey);
        break;
    case ButtonPress:
        HandleButtonPress(form, event.xbutton);
        break;
    case ButtonRelease:
        HandleButtonRelease(form, event.xbutton);
        break;
    case MotionNotify:
        HandleMotion(form, event.xmotion);
        break;
    case EnterNotify:
        form->OnMouseEnter();
        break;
    case LeaveNotify:
        form->OnMouseLeave();
        break;
    case Expose:
        form->SettleOnScreen();
        form->Paint();
        break;
    case DestroyNotify:
        break;
    case ConfigureNotify:
        HandleConfigure(form, event.xconfigure);
        break;
    case ClientMessage:
        HandleClientMessage(mainForm, form, event.xclient);
        break;
    default:
        break;
    }
}

bool Run(Form* mainForm) {
    Display* display = mainForm->GetScreen()->GetDisplay();
    std::memset(Application::keyDown, 0, sizeof Application::keyDown);
    PrepareTimerWakeup();
    for (;;) {
        if (Application::quitRequested) {
            Shutdown(mainForm);
            return true;
        }
        if (TakeTimerExpiry()) {
            if (expiryHandler != nullptr) {
                expiryHandler();
            }
            Application::DestroyRetiredForms();
            continue;
        }
        if (XPending(display) == 0) {
            if (!WaitForEventOrExpiry(display)) {
                Shutdown(mainForm);
                return false;
            }
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        DispatchEvent(mainForm, event);
    }
}
