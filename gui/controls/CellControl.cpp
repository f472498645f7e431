#include "gui/controls/CellControl.h"

#include "app/Application.h"
#include "gui/core/Form.h"
#include "gui/graphics/DrawingContext.h"

namespace {

const long kWhite = 0xffffff;
const long kBlack = 0x000000;
const int kIconRight = 1;
const int kIconCentre = 2;
const int kIconMargin = 3;
const int kStarLift = 4;

} // namespace

CellControl::CellControl(GUIElement* parentElement) {
    parent = parentElement;
    kind = "cellcontrol";
    tabStop = false;
    autoRedraw = true;
}

template <typename T> void CellControl::Change(T& field, const T& value) {
    if (field == value) {
        return;
    }
    field = value;
    changed = true;
    RepaintIfCreated();
}

void CellControl::SetText(const std::string& value) {
    Change(text, value);
}
void CellControl::SetAlignment(int value) {
    Change(alignment, value);
}
void CellControl::SetTextColor(long color) {
    Change(textColor, color);
}
void CellControl::SetBorder(bool value) {
    Change(border, value);
}
void CellControl::SetStarMark(bool value) {
    Change(starMark, value);
}
void CellControl::SetFontName(const std::string& value) {
    Change(fontName, value);
}
void CellControl::SetFontSize(int value) {
    Change(fontSize, value);
}

void CellControl::SetHighlighted(bool value) {
    highlighted = value;
    RepaintIfCreated();
}

void CellControl::SetHighlightTextColor(long color) {
    highlightTextColor = color;
    RepaintIfCreated();
}

void CellControl::SetHighlightBackColor(long color) {
    highlightBackColor = color;
    RepaintIfCreated();
}

void CellControl::SetIcon(XImage* image, int w, int h, int align) {
    icon = image;
    iconWidth = w;
    iconHeight = h;
    iconAlign = align;
    RepaintIfCreated();
}

void CellControl::RestoreBackColor() {
    if (!created || savedBackColor < 0 || backColor == savedBackColor) {
        return;
    }
    backColor = savedBackColor;
    changed = true;
    Paint();
}

void CellControl::Create() {
    if (created) {
        return;
    }
    AssignIdKeepingTag();
    created = true;
    visible = true;
    savedBackColor = backColor;
    changed = false;
}

void CellControl::Show() {
    GUIElement::Show();
    Paint();
}

void CellControl::ShowMapped() {
    Show();
}

void CellControl::Hide() {
    if (created) {
        Form* form = Application::GetForm(this);
        const int64_t formColor = form != nullptr ? form->GetBackColor() : -1;
        Erase(formColor != -1 ? formColor : kDefaultBackColor);
    }
    visible = false;
    created = false;
}

void CellControl::Paint() {
    if (!ShouldPaint()) {
        return;
    }
    DrawingContext dc(Application::GetForm(this));
    const int left = FormX();
    const int top = FormY();
    const int boxX = border ? left + 1 : left;
    const int boxY = border ? top + 1 : top;
    const int boxW = border ? width - 2 : width;
    const int boxH = border ? height - 2 : height;

    long background = backColor != -1 ? static_cast<long>(backColor) : kDefaultBackColor;
    if (highlighted) {
        background = highlightBackColor;
    }
    if (border) {
        // On a white cell the light edges would vanish, so they are drawn black.
        DrawBevel(dc, left, top, width, height, kBlack, background == kWhite ? kBlack : kWhite);
    }
    const long foreground = highlighted ? highlightTextColor : textColor;
    DrawText(dc, boxX, boxY, boxW, boxH, text, foreground, background, alignment);

    if (starMark) {
        const int line = dc.TextHeight();
        DrawText(dc, boxX + boxW - line, boxY + (boxH - line) - kStarLift, line, line, "*",
                 foreground, background, kAlignCenter);
    }
    if (icon != nullptr) {
        const int iconY = boxY + (boxH - iconHeight) / 2;
        int iconX = boxX + kIconMargin;
        if (iconAlign == kIconRight) {
            iconX = boxX + (boxW - iconWidth) - kIconMargin;
        } else if (iconAlign == kIconCentre) {
            iconX = boxX + (boxW - iconWidth) / 2;
        }
        PutImage(dc, iconX, iconY, iconWidth, iconHeight, icon);
    }
}
