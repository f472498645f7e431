#include "gui/core/Form.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "app/Application.h"
#include "app/Screen.h"
#include "gui/core/PackedPoint.h"
#include "gui/graphics/ImageBlock.h"
#include "gui/graphics/PixelFormat.h"
#include "util/Log.h"

namespace {

const long kFormEventMask = KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                            EnterWindowMask | LeaveWindowMask | PointerMotionMask |
                            ButtonMotionMask | ExposureMask | StructureNotifyMask |
                            SubstructureNotifyMask;

// The source indication of a request that comes from a normal application.
const long kSourceApplication = 1;

// The 32-bit items of a property of the root window, of the type; empty when it has none.
std::vector<long> RootLongs(Display* display, const char* property, Atom type) {
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    std::vector<long> items;
    if (XGetWindowProperty(display, DefaultRootWindow(display),
                           XInternAtom(display, property, False), 0, 1024, False, type, &actualType,
                           &format, &count, &remaining, &data) == Success &&
        data != nullptr) {
        if (format == 32) {
            const auto* first = reinterpret_cast<const long*>(data);
            items.assign(first, first + count);
        }
        XFree(data);
    }
    return items;
}

bool RootListsAtom(Display* display, const char* property, Atom atom) {
    const std::vector<long> atoms = RootLongs(display, property, XA_ATOM);
    return std::find(atoms.begin(), atoms.end(), static_cast<long>(atom)) != atoms.end();
}

} // namespace

Form::Form(intptr_t ownerHandle) : Form(ownerHandle, false) {}

Form::Form(intptr_t ownerHandle, bool isDialog) : GUIElement(ownerHandle), isDialog(isDialog) {
    kind = "form";
    backColor = -1;
    Application::RegisterForm(this);
}

Form::~Form() {
    Application::UnregisterElement(this);
    // The owner must never point at a dialog that is gone.
    if (blockedOwner != nullptr && blockedOwner->GetModalChild() == this) {
        ReleaseOwner();
    }
    if (window != 0) {
        Application::DropFocus();
        Display* display = GetDisplay();
        if (display != nullptr) {
            XUnmapWindow(display, window);
            XDestroyWindow(display, window);
            XFlush(display);
        }
        created = false;
        window = 0;
    }
}

Display* Form::GetDisplay() const {
    return screen != nullptr ? screen->GetDisplay() : nullptr;
}

int Form::GetWidth() {
    return width;
}
int Form::GetHeight() {
    return height;
}

int Form::GetRealWidth() {
    Display* display = GetDisplay();
    if (!created || display == nullptr) {
        return width;
    }
    Window root;
    int windowX, windowY;
    unsigned int w, h, border, depth;
    if (!XGetGeometry(display, window, &root, &windowX, &windowY, &w, &h, &border, &depth)) {
        return width;
    }
    return static_cast<int>(w);
}

int Form::GetRealHeight() {
    Display* display = GetDisplay();
    if (!created || display == nullptr) {
        return height;
    }
    Window root;
    int windowX, windowY;
    unsigned int w, h, border, depth;
    if (!XGetGeometry(display, window, &root, &windowX, &windowY, &w, &h, &border, &depth)) {
        return height;
    }
    return static_cast<int>(h);
}

int64_t Form::GetPosition() {
    Display* display = GetDisplay();
    if (!created || display == nullptr) {
        return PackPoint(x, y);
    }
    int rootX = 0, rootY = 0;
    Window child;
    XTranslateCoordinates(display, window, RootWindow(display, DefaultScreen(display)), 0, 0,
                          &rootX, &rootY, &child);
    return PackPoint(rootX, rootY);
}

void Form::SetBackColor(int64_t color) {
    backColor = color;
    if (created) {
        UpdateBackground();
    }
}

void Form::Show() {
    const bool wasShown = IsOnScreen();
    GUIElement::Show();
    if (created) {
        XRaiseWindow(GetDisplay(), window);
        if (wasShown) {
            Activate();
        }
        XFlush(GetDisplay());
    }
}

void Form::ShowMapped() {
    GUIElement::Show();
    if (created) {
        XMapWindow(GetDisplay(), window);
        XFlush(GetDisplay());
    }
}

void Form::Hide() {
    GUIElement::Hide();
    if (created) {
        XUnmapWindow(GetDisplay(), window);
        XFlush(GetDisplay());
    }
}

void Form::WaitUntilDrawn() {
    if (created) {
        XSync(GetDisplay(), False);
    }
}

void Form::SetFocus() {
    // Only a viewable window can take the keyboard; asking for an unmapped one would be an
    // error, which would end the program. Asking again for the keyboard the window holds would
    // change nothing but the server's time of the last focus change: a manager that times its
    // own changes by an older event would then see them refused, and could no longer hand the
    // keyboard to a new dialog. For the same reason the request carries the time of the input
    // that asked for it, not the current time.
    if (IsOnScreen() && !HasKeyboard()) {
        XSetInputFocus(GetDisplay(), window, RevertToNone, Application::userTime);
    }
    GUIElement::SetFocus();
}

bool Form::IsOnScreen() {
    XWindowAttributes attributes;
    return created && XGetWindowAttributes(GetDisplay(), window, &attributes) != 0 &&
           attributes.map_state == IsViewable;
}

bool Form::HasKeyboard() {
    Window focus = 0;
    int revertTo = 0;
    XGetInputFocus(GetDisplay(), &focus, &revertTo);
    return focus == window;
}

bool Form::ManagerActivates() {
    Display* display = GetDisplay();
    return RootListsAtom(display, "_NET_SUPPORTED",
                         XInternAtom(display, "_NET_ACTIVE_WINDOW", False));
}

void Form::SettleOnScreen() {
    if (!settling || !IsOnScreen()) {
        return;
    }
    settling = false;
    Display* display = GetDisplay();
    // Only a dialog is placed by the program, centred on its owner; where other windows go
    // is the manager's choice.
    if (blockedOwner == nullptr) {
        return;
    }
    // A manager that ignores the static gravity has put its frame where the dialog was asked
    // to be, and the dialog lies inside it, off by the decorations. Moved once, the dialog
    // goes where it was asked to be; the window's own border is within the precision asked.
    const int64_t at = GetPosition();
    if (std::abs(PointX(at) - placement.x) > 1 || std::abs(PointY(at) - placement.y) > 1) {
        XMoveWindow(display, window, placement.x, placement.y);
    }
    // A manager that knows no activation neither gives a new dialog the keyboard nor takes
    // it from the window behind, where the player's last click went.
    if (!ManagerActivates()) {
        XSetInputFocus(display, window, RevertToParent, Application::userTime);
    }
    XFlush(display);
}

void Form::Activate() {
    Display* display = GetDisplay();
    if (!ManagerActivates()) {
        // Without activation, the raise alone has to do, and the keyboard is handed over here.
        XSetInputFocus(display, window, RevertToParent, Application::userTime);
        return;
    }
    // A manager that guards the stacking order ignores a raise from a window that is not
    // active, but activates a window when asked in its own terms: by a normal application
    // (source 1), at the time of the click, on behalf of the window now active.
    const std::vector<long> active = RootLongs(display, "_NET_ACTIVE_WINDOW", XA_WINDOW);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = kSourceApplication;
    event.xclient.data.l[1] = static_cast<long>(Application::userTime);
    event.xclient.data.l[2] = active.size() == 1 ? active[0] : 0;
    XSendEvent(display, DefaultRootWindow(display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

void Form::Paint() {
    for (GUIElement* child : Application::CollectChildren(id)) {
        if (child->IsAutoRedraw() && child->IsCreated()) {
            child->Paint();
        }
    }
}

void Form::SetMarkA(bool value) {
    if (created) {
        GUIElement::SetMarkA(value);
    }
}

void Form::Create() {
    if (!created) {
        CreateWindow();
    }
}

void Form::NativeMove() {
    if (window != 0) {
        XMoveWindow(GetDisplay(), window, x, y);
    }
}

void Form::NativeResize() {
    if (window != 0) {
        XResizeWindow(GetDisplay(), window, width, height);
    }
}

void Form::NativeRaise() {
    if (window != 0) {
        XRaiseWindow(GetDisplay(), window);
    }
}

void Form::NativeLower() {
    if (window != 0) {
        XLowerWindow(GetDisplay(), window);
    }
}

// Controls are drawn into the form's window; there is nothing to attach on the X side.
void Form::NativeAddChild(GUIElement*) {}
void Form::NativeBackground() {}
void Form::NativeFontChanged() {}

void Form::Spare1() {}
void Form::Spare2() {}
std::string Form::GetTitle() {
    return GetCurrentText();
}

void Form::SetTitle(const std::string& title) {
    SetText(title);
    if (!created) {
        return;
    }
    std::string copy = GetText();
    char* names[] = {copy.data()};
    XTextProperty property;
    if (XStringListToTextProperty(names, 1, &property) == 0) {
        Log("XStringListToTextProperty - out of memory");
        return;
    }
    XSetWMName(GetDisplay(), window, &property);
    XSetWMIconName(GetDisplay(), window, &property);
    XFree(property.value);
    XFlush(GetDisplay());
}

std::string Form::GetCaption() {
    return GetTitle();
}
void Form::SetCaption(const std::string& caption) {
    SetTitle(caption);
}
void Form::OnWindowCreated() {}
void Form::Spare3() {}
void Form::SetStyleFlag2(bool value) {
    styleFlag2 = value;
}
void Form::SetStyleFlag3(bool value) {
    styleFlag3 = value;
}
void Form::SetStyleFlag4(bool value) {
    styleFlag4 = value;
}

void Form::DestroyWindow() {
    if (window == 0) {
        created = false;
        return;
    }
    // Told before the window goes, so a focused control of this form still paints into it.
    Application::DropFocus();
    created = false;
    Display* display = GetDisplay();
    XUnmapWindow(display, window);
    XDestroyWindow(display, window);
    XFlush(display);
    window = 0;
}

void Form::OnMsgBoxResult(int, int) {}
bool Form::IsDialog() {
    return isDialog;
}

void Form::SetIconPixmap(Pixmap pixmap) {
    iconPixmap = pixmap;
    if (created) {
        SendWMHints(GetDisplay());
    }
}

void Form::FitClientSize(int w, int h) {
    SetClientSize(w, h, true);
}

void Form::SetClientSize(int w, int h, bool move) {
    if (!created) {
        return;
    }
    int extraWidth = GetWidth() - GetRealWidth();
    int extraHeight = GetHeight() - GetRealHeight();
    if (extraWidth < 0) {
        extraWidth = 0;
    }
    if (extraHeight < 0) {
        extraHeight = 0;
    }
    if (move) {
        const int64_t position = GetPosition();
        Move(PointX(position) - extraWidth, PointY(position) - 2 * extraHeight);
    }
    SetSize(w + extraWidth, h + extraHeight);
}

void Form::SetStyleFlag5(bool value) {
    styleFlag5 = value;
}
void Form::SetStyleFlag1(bool value) {
    styleFlag1 = value;
}
void Form::SetModalChild(Form* form) {
    modalChild = form;
}

void Form::BlockOwner(Form* owner) {
    blockedOwner = owner;
    owner->SetEnabled(false);
    owner->SetMarkA(true);
    owner->SetModalChild(this);
}

void Form::ReleaseOwner() {
    Form* owner = blockedOwner;
    if (owner == nullptr) {
        return;
    }
    blockedOwner = nullptr;
    // Another dialog of the same owner still open keeps it disabled: the player must answer
    // that one first.
    Form* stillOpen = nullptr;
    for (GUIElement* element : Application::forms) {
        auto* other = static_cast<Form*>(element);
        if (other != this && other->blockedOwner == owner && other->IsCreated()) {
            stillOpen = other;
        }
    }
    owner->SetModalChild(stillOpen);
    if (stillOpen == nullptr) {
        owner->SetEnabled(true);
        owner->SetMarkA(false);
    }
}

void Form::SetGeometry(int newX, int newY, int w, int h) {
    x = newX;
    y = newY;
    width = w;
    height = h;
}

void Form::SetScreen(Screen* value) {
    screen = value;
}
Screen* Form::GetScreen() {
    return screen;
}

void Form::CenterOnScreen() {
    const int screenWidth = screen != nullptr ? screen->GetWidth() : GetCurrentScreenWidth();
    const int screenHeight = screen != nullptr ? screen->GetHeight() : GetCurrentScreenHeight();
    const int64_t size = GetSize();
    SetPosition((screenWidth - PointX(size)) / 2, (screenHeight - PointY(size)) / 2);
}

void Form::MakeVisible() {
    if (!created) {
        Create();
    }
    visible = true;
}

void Form::OpenVisible() {
    MakeVisible();
}
Window Form::GetWindow() {
    return window;
}

void Form::SetMarkBOn() {
    if (created) {
        SetMarkB(true);
    }
}

void Form::SetMarkBOff() {
    if (created) {
        SetMarkB(false);
    }
}

void Form::SendWMHints(Display* display) {
    XWMHints* hints = XAllocWMHints();
    if (hints == nullptr) {
        return;
    }
    hints->flags = InputHint | StateHint | IconPixmapHint;
    hints->input = True;
    hints->initial_state = NormalState;
    hints->icon_pixmap = iconPixmap;
    XSetWMHints(display, window, hints);
    XFree(hints);
}

void Form::SetHints(Display* display) {
    XSizeHints* sizeHints = XAllocSizeHints();
    XWMHints* wmHints = XAllocWMHints();
    XClassHint* classHint = XAllocClassHint();
    if (sizeHints == nullptr || wmHints == nullptr || classHint == nullptr) {
        Log("XAllocSizeHints/XAllocWMHints/XAllocClassHint failed");
        XFree(sizeHints);
        XFree(wmHints);
        XFree(classHint);
        return;
    }

    // Minimum and maximum equal to the size keep the window at a fixed size. Static gravity
    // makes the position that of the window itself, not of the frame the manager puts around
    // it, as the form's own GetPosition reports it: a dialog centred on its owner's contents
    // stays centred whatever the decorations.
    sizeHints->flags = PPosition | PSize | PMinSize | PMaxSize | PWinGravity;
    sizeHints->win_gravity = StaticGravity;
    sizeHints->x = x;
    sizeHints->y = y;
    sizeHints->width = sizeHints->min_width = sizeHints->max_width = width;
    sizeHints->height = sizeHints->min_height = sizeHints->max_height = height;

    wmHints->flags = InputHint | StateHint | IconPixmapHint;
    wmHints->input = True;
    wmHints->initial_state = NormalState;
    wmHints->icon_pixmap = iconPixmap;

    std::string title = GetText();
    char* titleList[] = {title.data()};
    // Xlib takes the names as writable strings, though it only reads them.
    std::string programName = screen->GetProgramName();
    char* iconList[] = {programName.data()};
    XTextProperty windowName{};
    XTextProperty iconName{};
    const bool haveWindowName = XStringListToTextProperty(titleList, 1, &windowName) != 0;
    const bool haveIconName = XStringListToTextProperty(iconList, 1, &iconName) != 0;
    if (!haveWindowName || !haveIconName) {
        Log("XStringListToTextProperty - error");
    }

    classHint->res_name = programName.data();
    classHint->res_class = programName.data();

    XSetWMProperties(display, window, haveWindowName ? &windowName : nullptr,
                     haveIconName ? &iconName : nullptr, nullptr, 0, sizeHints, wmHints, classHint);
    if (haveWindowName) {
        XFree(windowName.value);
    }
    if (haveIconName) {
        XFree(iconName.value);
    }
    XFree(sizeHints);
    XFree(wmHints);
    XFree(classHint);

    wmDeleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &wmDeleteWindow, 1);
    XSelectInput(display, window, kFormEventMask);
}

void Form::AnnounceOwnership(Display* display) {
    // The manager keeps a transient window with its owner, above it, and a modal one in front
    // of everything the owner holds.
    if (blockedOwner != nullptr) {
        if (blockedOwner->GetWindow() != 0) {
            XSetTransientForHint(display, window, blockedOwner->GetWindow());
        }
        const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
        const Atom modal = XInternAtom(display, "_NET_WM_STATE_MODAL", False);
        XChangeProperty(display, window, state, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&modal), 1);
    }
    // Managers that prevent focus stealing give a new window the keyboard only when it comes
    // in answer to the player's latest input. Before any input there is no time to give: the
    // property's 0 would ask for no focus at all.
    if (Application::userTime != CurrentTime) {
        const Atom userTime = XInternAtom(display, "_NET_WM_USER_TIME", False);
        const long time = static_cast<long>(Application::userTime);
        XChangeProperty(display, window, userTime, XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&time), 1);
    }
}

void Form::CreateWindow() {
    if (screen == nullptr || screen->GetDisplay() == nullptr) {
        Log("E' necessario impostare il display");
        return;
    }
    Display* display = screen->GetDisplay();
    const int screenNumber = DefaultScreen(display);
    const unsigned long background = PixelFormat::Of(display).ToPixel(
        static_cast<unsigned long>(backColor != -1 ? backColor : kDefaultBackColor));
    window = XCreateSimpleWindow(display, RootWindow(display, screenNumber), x, y,
                                 static_cast<unsigned>(width), static_cast<unsigned>(height), 1,
                                 BlackPixel(display, screen->screenNumber), background);
    if (window != 0) {
        SetHints(display);
        if (isDialog) {
            const Atom type = XInternAtom(display, "_NET_WM_WINDOW_TYPE", False);
            const Atom dialog = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DIALOG", False);
            XChangeProperty(display, window, type, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(&dialog), 1);
        }
        AnnounceOwnership(display);
    }

    SetFocus();

    if (window == 0) {
        Log("Errore creazione Form ");
        return;
    }
    AssignId();
    // The load hook builds the form's controls; they must not paint into a window that is
    // not mapped yet, so painting waits until the first Expose.
    Application::suspendPaint = true;
    Load(tag != 0 ? tag : id);
    Application::suspendPaint = false;
    created = true;
    UpdateBackground();
    OnWindowCreated();
    placement = {x, y, width, height};
    settling = true;
    XMapWindow(display, window);
    visible = true;
    XFlush(display);
    // The window manager frames and maps the window before the first Expose arrives. The font
    // and the pixel layout that the first paint needs are fetched meanwhile, so that their round
    // trips and the font's locale set-up in Xlib overlap that wait instead of following it.
    GetProgramFont(display);
    ProbePixelFormat(this);
    for (GUIElement* child : Application::CollectChildren(id)) {
        if (child->IsAutoRedraw() && child->IsCreated()) {
            child->PreparePaint();
        }
    }
}

Form* FirstForm() {
    return Application::forms.empty() ? nullptr : static_cast<Form*>(Application::forms.front());
}

XFontStruct* GetProgramFont(Display* display) {
    Form* first = FirstForm();
    if (first == nullptr || display == nullptr) {
        return nullptr;
    }
    return first->GetFont().GetXFont(display);
}
