#include "gui/controls/ButtonCustom.h"

#include "app/Application.h"
#include "gui/core/Form.h"
#include "gui/graphics/DrawingContext.h"

namespace {

const long kLight = 0xffffff;
const long kDark = 0x000000;

} // namespace

ButtonCustom::ButtonCustom(GUIElement* parentElement, const std::string& caption) {
    parent = parentElement;
    kind = "ButtonCustom";
    text = caption;
    width = 80;
    height = 30;
    tabStop = true;
    autoRedraw = true;
}

void ButtonCustom::SetSize(int w, int h) {
    Relocate(x, y, w, h);
}

void ButtonCustom::Move(int newX, int newY) {
    Relocate(newX, newY, width, height);
}

void ButtonCustom::Show() {
    GUIElement::Show();
    Paint();
}

void ButtonCustom::ShowMapped() {
    Show();
}

void ButtonCustom::Hide() {
    if (created) {
        Erase(ParentBackColor());
    }
}

void ButtonCustom::SetText(const std::string& value) {
    text = value;
    RepaintIfCreated();
}

void ButtonCustom::SetTextColor(long color) {
    textColor = color;
}

void ButtonCustom::SetButtonEnabled(int value) {
    enabled = value != 0;
    RepaintIfCreated();
}

void ButtonCustom::SetContentHidden(bool value) {
    contentHidden = value;
    RepaintIfCreated();
}

void ButtonCustom::SetIcon(XImage* image) {
    icon = image;
    RepaintIfCreated();
}

void ButtonCustom::SetDisabledIcon(XImage* image) {
    disabledIcon = image;
    RepaintIfCreated();
}

void ButtonCustom::Create() {
    CreateInForm();
}

void ButtonCustom::OnMouseDown(int64_t point) {
    if (!enabled) {
        return;
    }
    // Every primitive flushes, so the pressed look is on screen before the command runs,
    // which may take a while (it can open a window or start a sound).
    pressed = true;
    Paint();
    GUIElement::OnMouseDown(point);
}

void ButtonCustom::OnClick(int64_t point) {
    if (!enabled) {
        return;
    }
    pressed = false;
    Paint();
    Execute(this);
    GUIElement::OnClick(point);
}

void ButtonCustom::OnKeyDown(Key key) {
    if (!enabled) {
        return;
    }
    GUIElement::OnKeyDown(key);
    if (hasFocus && key == kKeyReturn) {
        pressed = true;
        Paint();
    }
}

bool ButtonCustom::OnKeyChar(int character) {
    if (!enabled) {
        return false;
    }
    if (hasFocus && character == kCharReturn) {
        pressed = false;
        Paint();
        Execute(this);
    }
    return GUIElement::OnKeyChar(character);
}

void ButtonCustom::OnFocusIn() {
    GUIElement::OnFocusIn();
    Paint();
}

void ButtonCustom::OnFocusOut() {
    GUIElement::OnFocusOut();
    // Losing the focus while held releases the button without running its command.
    pressed = false;
    Paint();
}

void ButtonCustom::Paint() {
    if (!ShouldPaint()) {
        return;
    }
    DrawingContext dc(Application::GetForm(this));
    const int left = FormX();
    const int top = FormY();
    const long face = static_cast<long>(OwnBackColor());

    FillRect(dc, left, top, width, height, 0, -1, face);
    DrawBevel(dc, left, top, width, height, pressed ? kDark : kLight, pressed ? kLight : kDark);
    if (hasFocus && enabled && !pressed) {
        DrawFocusRect(dc, left + 4, top + 3, width - 8, height - 6, textColor,
                      FocusSides::kExtended);
    }
    if (contentHidden) {
        return;
    }

    XImage* picture = (!enabled && disabledIcon != nullptr) ? disabledIcon : icon;
    const long captionColor = enabled ? textColor : kDisabledColor;
    if (!text.empty()) {
        if (picture == nullptr) {
            DrawText(dc, left + kCaptionMarginX, top + kCaptionMarginY, width - 2 * kCaptionMarginX,
                     height - 2 * kCaptionMarginY, text, captionColor, face, kAlignCenter);
        } else {
            // The caption takes the room right of the icon, up to the inner bevel margin.
            const int textLeft = left + picture->width + 10;
            DrawText(dc, textLeft, top + kCaptionMarginY, left + width - kCaptionMarginX - textLeft,
                     height - 2 * kCaptionMarginY, text, captionColor, face, kAlignLeft);
        }
    }
    if (picture != nullptr) {
        const int pictureTop = top + (height - picture->height) / 2;
        const int pictureLeft = text.empty() ? left + (width - picture->width) / 2 : left + 8;
        PutImage(dc, pictureLeft, pictureTop, picture);
    }
}
