#include "gui/controls/CheckBox.h"

#include <algorithm>

#include "app/Application.h"
#include "gui/controls/ControlPictures.h"
#include "gui/graphics/DrawingContext.h"
#include "gui/graphics/ImageBlock.h"

namespace {

// The box needs its 20 pixels and a margin above and below.
const int kMinimumHeight = 22;

} // namespace

CheckBox::CheckBox(GUIElement* parentElement, const std::string& caption) {
    parent = parentElement;
    kind = "checkbox";
    text = caption;
    width = 80;
    height = 30;
    tabStop = true;
    autoRedraw = true;
}

void CheckBox::SetSize(int w, int h) {
    Relocate(x, y, w, h);
}

void CheckBox::Move(int newX, int newY) {
    Relocate(newX, newY, width, height);
}

void CheckBox::Show() {
    GUIElement::Show();
    Paint();
}

void CheckBox::ShowMapped() {
    Show();
}

void CheckBox::Hide() {
    if (created) {
        Erase(ParentBackColor());
    }
}

void CheckBox::Create() {
    CreateInForm();
}

void CheckBox::SetText(const std::string& value) {
    text = value;
    RepaintIfCreated();
}

void CheckBox::Enable(bool value) {
    enabled = value;
    RepaintIfCreated();
}

void CheckBox::SetTextColor(long color) {
    textColor = color;
    RepaintIfCreated();
}

void CheckBox::SetChecked(bool value) {
    checked = value;
    RepaintIfCreated();
}

void CheckBox::Toggle() {
    checked = !checked;
    Paint();
    Execute(this);
}

// A check box reacts to the release alone; the press only takes the focus, which the loop
// gives.
void CheckBox::OnMouseDown(int64_t) {}

void CheckBox::OnKeyDown(Key) {}

// A disabled box does not toggle, but the click still reaches the click hook and counts
// towards a double click, as on every other element.
void CheckBox::OnClick(int64_t point) {
    if (enabled) {
        Toggle();
    }
    GUIElement::OnClick(point);
}

bool CheckBox::OnKeyChar(int character) {
    if (enabled && hasFocus && character == kCharSpace) {
        Toggle();
    }
    return GUIElement::OnKeyChar(character);
}

void CheckBox::OnFocusIn() {
    GUIElement::OnFocusIn();
    Paint();
}

void CheckBox::OnFocusOut() {
    GUIElement::OnFocusOut();
    Paint();
}

XImage* CheckBox::CurrentMark() {
    if (imageChecked == nullptr) {
        imageChecked.reset(
            CreateImageFromBlock(this, imgCHECK_CHECKED, wCHECK_CHECKED, hCHECK_CHECKED));
        imageCheckedDisabled.reset(CreateImageFromBlock(
            this, imgCHECK_CHECKED_DISABLED, wCHECK_CHECKED_DISABLED, hCHECK_CHECKED_DISABLED));
        imageUnchecked.reset(
            CreateImageFromBlock(this, imgCHECK_UNCHECKED, wCHECK_UNCHECKED, hCHECK_UNCHECKED));
        imageUncheckedDisabled.reset(CreateImageFromBlock(this, imgCHECK_UNCHECKED_DISABLED,
                                                          wCHECK_UNCHECKED_DISABLED,
                                                          hCHECK_UNCHECKED_DISABLED));
    }
    if (enabled) {
        return checked ? imageChecked.get() : imageUnchecked.get();
    }
    return checked ? imageCheckedDisabled.get() : imageUncheckedDisabled.get();
}

void CheckBox::Paint() {
    if (!ShouldPaint()) {
        return;
    }
    height = std::max(height, kMinimumHeight);
    DrawingContext dc(Application::GetForm(this));
    const int left = FormX();
    const int top = FormY();
    const long background = static_cast<long>(OwnBackColor());

    FillRect(dc, left, top, width + 1, height + 1, 0, -1, background);
    PutImage(dc, left + kMarkInset, top + kMarkInset, kMarkSize, kMarkSize, CurrentMark());
    DrawText(dc, left + kCaptionLeft, top + 1, width - 30, height, text,
             enabled ? textColor : kDisabledColor, background, kAlignLeft);
    if (hasFocus && enabled) {
        DrawFocusRect(dc, left + 23, top + 2, width - 30, height - 2, textColor,
                      FocusSides::kFlush);
    }
}
