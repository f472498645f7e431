#include "gui/core/GUIElement.h"

#include "app/Application.h"
#include "gui/core/PackedPoint.h"

namespace {
// Two clicks whose timestamps differ by at most this much make a double click. The click
// times have one-second resolution, so in practice this means "within the same second".
const int64_t kDoubleClickMs = 999;
} // namespace

GUIElement::GUIElement(intptr_t ownerHandle)
    : ownerHandle(ownerHandle), lastClickTime(DateTime::Now()) {
    Application::RegisterElement(this);
}

GUIElement::~GUIElement() = default;

int GUIElement::GetWidth() {
    return width;
}
int GUIElement::GetRealWidth() {
    return width;
}
int GUIElement::GetHeight() {
    return height;
}
int GUIElement::GetRealHeight() {
    return height;
}
int64_t GUIElement::GetPosition() {
    return PackPoint(x, y);
}
int64_t GUIElement::GetSize() {
    return PackPoint(width, height);
}
int64_t GUIElement::GetRealSize() {
    return PackPoint(width, height);
}

void GUIElement::SetSize(int w, int h) {
    if (w == width && h == height) {
        return;
    }
    width = w;
    height = h;
    if (created) {
        NativeResize();
    }
}

void GUIElement::Move(int newX, int newY) {
    x = newX;
    y = newY;
    if (created) {
        NativeMove();
    }
}

void GUIElement::SetPosition(int newX, int newY) {
    Move(newX < 0 ? 0 : newX, newY < 0 ? 0 : newY);
}

void GUIElement::MoveTo(int64_t point) {
    Move(PointX(point), PointY(point));
}

void GUIElement::SetBackColor(int64_t color) {
    backColor = color;
    if (created) {
        Paint();
    }
}

int64_t GUIElement::GetBackColor() {
    return backColor;
}

void GUIElement::Show() {
    if (!created) {
        Create();
    }
    visible = true;
}

void GUIElement::ShowMapped() {
    GUIElement::Show();
}

void GUIElement::Hide() {
    if (created) {
        visible = false;
    }
}

bool GUIElement::IsVisible() {
    return visible;
}
bool GUIElement::IsCreated() {
    return created;
}
void GUIElement::Refresh() {}
void GUIElement::SetEnabled(bool value) {
    enabled = value;
}
bool GUIElement::IsEnabled() {
    return enabled;
}

void GUIElement::AddChild(GUIElement* element) {
    if (created && element != nullptr) {
        NativeAddChild(element);
    }
}

void GUIElement::BringToFront() {
    if (created) {
        NativeRaise();
    }
}

void GUIElement::Raise() {
    if (created) {
        NativeRaise();
    }
}

void GUIElement::SendToBack() {
    if (created) {
        NativeLower();
    }
}

void GUIElement::SetName(const std::string& value) {
    name = value;
}
std::string GUIElement::GetName() {
    return name;
}

void GUIElement::SetFont(const Font& value) {
    font = value;
    if (created) {
        NativeFontChanged();
    }
}

Font& GUIElement::GetFont() {
    return font;
}
bool GUIElement::IsTabStop() {
    return tabStop;
}
bool GUIElement::IsAutoRedraw() {
    return autoRedraw;
}
bool GUIElement::IsChild() {
    return isChild;
}

bool GUIElement::HitTest(int64_t point) {
    const int px = PointX(point);
    const int py = PointY(point);
    return created && visible && x <= px && px <= x + width && y <= py && py <= y + height;
}

void GUIElement::SetText(const std::string& value) {
    text = value;
}
std::string GUIElement::GetText() {
    return text;
}
std::string GUIElement::GetCurrentText() {
    return GetText();
}

void GUIElement::OnClick(int64_t point) {
    if (onClick != nullptr) {
        onClick(this, tag, point);
    }
    const DateTime now = DateTime::Now();
    if (DateTime::MillisecondsBetween(lastClickTime, now) <= kDoubleClickMs) {
        OnDoubleClick(point);
    }
    lastClickTime = now;
}

void GUIElement::OnMouseDown(int64_t point) {
    if (onMouseDown != nullptr) {
        onMouseDown(this, tag, point);
    }
}

void GUIElement::OnDoubleClick(int64_t point) {
    if (onDoubleClick != nullptr) {
        onDoubleClick(this, tag, point);
    }
}

void GUIElement::OnOtherButtonUp(int64_t point) {
    if (onOtherButtonUp != nullptr) {
        onOtherButtonUp(this, tag, point);
    }
}

void GUIElement::OnOtherButtonDown(int64_t point) {
    if (onOtherButtonDown != nullptr) {
        onOtherButtonDown(this, tag, point);
    }
}

void GUIElement::OnMouseExtra(int64_t point) {
    if (onMouseExtra != nullptr) {
        onMouseExtra(this, tag, point);
    }
}

void GUIElement::OnKeyUp(Key key) {
    if (onKeyUp != nullptr) {
        onKeyUp(this, key);
    }
}

void GUIElement::OnKeyDown(Key key) {
    if (onKeyDown != nullptr) {
        onKeyDown(this, key);
    }
}

bool GUIElement::OnKeyChar(int character) {
    return onKeyChar != nullptr ? onKeyChar(this, character) : true;
}

void GUIElement::OnMouseMove(int mouseX, int mouseY) {
    if (onMouseMove != nullptr) {
        onMouseMove(this, mouseX, mouseY);
    }
}

void GUIElement::OnExtra1(int64_t value) {
    if (onExtra1 != nullptr) {
        onExtra1(this, value);
    }
}

void GUIElement::OnExtra2(int64_t value) {
    if (onExtra2 != nullptr) {
        onExtra2(this, value);
    }
}

void GUIElement::SetFocus() {
    hasFocus = true;
}

void GUIElement::OnMove() {
    GetPosition();
    if (onMove != nullptr) {
        onMove(this);
    }
}

void GUIElement::OnResize() {
    SetBackColor(backColor);
    if (onResize != nullptr) {
        onResize(this);
    }
}

void GUIElement::Paint() {}

void GUIElement::PreparePaint() {}

bool GUIElement::OnClosing() {
    return onClosing != nullptr ? onClosing(this) : true;
}

void GUIElement::OnClosed() {
    if (onClosed != nullptr) {
        onClosed(this);
    }
    closed = true;
}

void GUIElement::OnFocusIn() {
    hasFocus = true;
    savedText = GetCurrentText();
    if (onFocusIn != nullptr) {
        onFocusIn(this);
    }
}

void GUIElement::OnFocusOut() {
    hasFocus = false;
    if (onFocusOut != nullptr) {
        onFocusOut(this);
    }
    if (GetCurrentText() != savedText && onChange != nullptr) {
        onChange(this);
    }
}

void GUIElement::OnMouseEnter() {
    if (onMouseEnter != nullptr) {
        onMouseEnter(this);
    }
}

void GUIElement::OnMouseLeave() {
    if (onMouseLeave != nullptr) {
        onMouseLeave(this);
    }
}

void GUIElement::Load(uint64_t value) {
    if (tag == 0) {
        tag = value;
    }
    if (!loaded && onLoad != nullptr) {
        onLoad(this, tag);
    }
    loaded = true;
}

void GUIElement::UpdateBackground() {
    if (created) {
        NativeBackground();
    }
}

bool GUIElement::HasMarkA() {
    return markA;
}
bool GUIElement::HasMarkB() {
    return markB;
}

void GUIElement::SetMarkA(bool value) {
    markA = value;
    if (value) {
        markB = false;
    }
}

void GUIElement::SetMarkB(bool value) {
    markB = value;
    if (value) {
        markA = false;
    }
}

void GUIElement::Update() {}
uint64_t& GUIElement::GetTagRef() {
    return tag;
}

void GUIElement::NativeMove() {}
void GUIElement::NativeResize() {}
void GUIElement::NativeBackground() {}
void GUIElement::NativeRaise() {}
void GUIElement::NativeLower() {}
void GUIElement::NativeAddChild(GUIElement*) {}
void GUIElement::NativeFontChanged() {}

void GUIElement::AssignId() {
    if (id == 0) {
        id = ++Application::nextElementId;
        tag = id;
    }
    if (created) {
        NativeFontChanged();
    }
}

void GUIElement::AssignIdKeepingTag() {
    if (id == 0) {
        id = ++Application::nextElementId;
    }
}
