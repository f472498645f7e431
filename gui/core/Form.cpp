#include "gui/core/Form.h"

#include "app/Application.h"
#include "util/Log.h"
#include "app/Screen.h"
#include "gui/core/PackedPoint.h"
#include "gui/graphics/ImageBlock.h"
#include "gui/graphics/PixelFormat.h"

namespace {

// The name the window manager shows for the program and uses to group its windows.
char kProgramFileName[] = "Brisgola.exe";

const long kFormEventMask = KeyPressMask | KeyReleaseMask | ButtonPressMask |
                            ButtonReleaseMask | EnterWindowMask | LeaveWindowMask |
                            PointerMotionMask | ButtonMotionMask | ExposureMask |
                            StructureNotifyMask | SubstructureNotifyMask;

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

Display* Form::GetDisplay() const { return screen != nullptr ? screen->GetDisplay() : nullptr; }

int Form::GetWidth() { return width; }
int Form::GetHeight() { return height; }

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
    GUIElement::Show();
    if (created) {
        XRaiseWindow(GetDisplay(), window);
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
    // error, which would end the program.
    XWindowAttributes attributes;
    if (created && XGetWindowAttributes(GetDisplay(), window, &attributes) != 0 &&
        attributes.map_state == IsViewable) {
        XSetInputFocus(GetDisplay(), window, RevertToNone, CurrentTime);
    }
    GUIElement::SetFocus();
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
std::string Form::GetTitle() { return GetCurrentText(); }

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

std::string Form::GetCaption() { return GetTitle(); }
void Form::SetCaption(const std::string& caption) { SetTitle(caption); }
void Form::OnWindowCreated() {}
void Form::Spare3() {}
void Form::SetStyleFlag2(bool value) { styleFlag2 = value; }
void Form::SetStyleFlag3(bool value) { styleFlag3 = value; }
void Form::SetStyleFlag4(bool value) { styleFlag4 = value; }

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
bool Form::IsDialog() { return isDialog; }

void Form::SetIconPixmap(Pixmap pixmap) {
    iconPixmap = pixmap;
    if (created) {
        SendWMHints(GetDisplay());
    }
}

void Form::FitClientSize(int w, int h) { SetClientSize(w, h, true); }

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

void Form::SetStyleFlag5(bool value) { styleFlag5 = value; }
void Form::SetStyleFlag1(bool value) { styleFlag1 = value; }
void Form::SetModalChild(Form* form) { modalChild = form; }

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

void Form::SetScreen(Screen* value) { screen = value; }
Screen* Form::GetScreen() { return screen; }

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

void Form::OpenVisible() { MakeVisible(); }
Window Form::GetWindow() { return window; }

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

bool Form::GetStyleFlag(int number) const {
    switch (number) {
    case 1:
        return styleFlag1;
    case 2:
        return styleFlag2;
    case 3:
        return styleFlag3;
    case 4:
        return styleFlag4;
    case 5:
        return styleFlag5;
    default:
        return false;
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

    // Minimum and maximum equal to the size keep the window at a fixed size.
    sizeHints->flags = PPosition | PSize | PMinSize | PMaxSize;
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
    char* iconList[] = {kProgramFileName};
    XTextProperty windowName{};
    XTextProperty iconName{};
    const bool haveWindowName = XStringListToTextProperty(titleList, 1, &windowName) != 0;
    const bool haveIconName = XStringListToTextProperty(iconList, 1, &iconName) != 0;
    if (!haveWindowName || !haveIconName) {
        Log("XStringListToTextProperty - error");
    }

    classHint->res_name = kProgramFileName;
    classHint->res_class = kProgramFileName;

    XSetWMProperties(display, window, haveWindowName ? &windowName : nullptr,
                     haveIconName ? &iconName : nullptr, nullptr, 0, sizeHints, wmHints,
                     classHint);
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
