#include "gui/controls/OptionBox.h"

#include <algorithm>

#include "app/Application.h"
#include "gui/controls/ControlPictures.h"
#include "gui/core/PackedPoint.h"
#include "gui/graphics/DrawingContext.h"
#include "gui/graphics/ImageBlock.h"

namespace {

// The marks are drawn on black, which the keyed copy leaves out, so the control's own
// background shows around the circle.
const unsigned long kTransparent = 0x000000;

} // namespace

OptionBox::OptionBox(GUIElement* parentElement) {
    parent = parentElement;
    kind = "optionbox";
    width = 80;
    height = 30;
    tabStop = true;
    autoRedraw = true;
}

void OptionBox::SetSize(int w, int h) {
    Relocate(x, y, w, h);
}

void OptionBox::Move(int newX, int newY) {
    Relocate(newX, newY, width, height);
}

void OptionBox::Show() {
    GUIElement::Show();
    Paint();
}

void OptionBox::ShowMapped() {
    Show();
}

void OptionBox::Hide() {
    if (created) {
        Erase(ParentBackColor());
    }
}

void OptionBox::Create() {
    CreateInForm();
}

bool OptionBox::SetSelected(int index) {
    index = std::max(index, 0);
    if (index >= GetCount()) {
        return false;
    }
    selected = index;
    RepaintIfCreated();
    return true;
}

bool OptionBox::RemoveOption(int index) {
    if (index < 0 || index >= GetCount()) {
        return false;
    }
    captions.erase(captions.begin() + index);
    values.erase(values.begin() + index);
    if (index < selected) {
        --selected;
    } else if (selected >= GetCount()) {
        selected = GetCount() - 1;
    }
    RepaintIfCreated();
    return true;
}

void OptionBox::AddOption(const std::string& caption, const std::string& value) {
    captions.push_back(caption);
    values.push_back(value);
    RepaintIfCreated();
}

std::string OptionBox::Pick(const std::vector<std::string>& texts, int index) {
    if (texts.empty()) {
        return "";
    }
    if (index < 0 || index >= static_cast<int>(texts.size())) {
        return texts.back();
    }
    return texts[static_cast<size_t>(index)];
}

std::string OptionBox::GetOptionCaption(int index) const {
    return Pick(captions, index);
}

std::string OptionBox::GetOptionValue(int index) const {
    return Pick(values, index);
}

void OptionBox::Clear() {
    captions.clear();
    values.clear();
    selected = kNoSelection;
    RepaintIfCreated();
}

void OptionBox::SelectFirst() {
    if (GetCount() > 0) {
        selected = 0;
        RepaintIfCreated();
    }
}

void OptionBox::Enable(bool value) {
    enabled = value;
    RepaintIfCreated();
}

void OptionBox::SetTextColor(long color) {
    textColor = color;
    RepaintIfCreated();
}

void OptionBox::Choose(int index) {
    selected = index;
    Paint();
    Execute(this);
}

void OptionBox::OnMouseDown(int64_t) {}

void OptionBox::OnClick(int64_t point) {
    // With no options there is nothing to choose, and no choice to announce.
    if (enabled && GetCount() > 0) {
        const int row = (PointY(point) - FormY()) / kRowHeight;
        Choose(std::clamp(row, 0, GetCount() - 1));
    }
    GUIElement::OnClick(point);
}

// Keys that are not for the option box are not passed to the key-down hook either.
void OptionBox::OnKeyDown(Key key) {
    if (!enabled || !hasFocus || GetCount() == 0) {
        return;
    }
    if (key == kKeyDown) {
        Choose(selected + 1 < GetCount() ? selected + 1 : 0);
    } else if (key == kKeyUp) {
        Choose(selected - 1 >= 0 ? selected - 1 : GetCount() - 1);
    }
}

bool OptionBox::OnKeyChar(int character) {
    if (character == kCharSpace) {
        OnKeyDown(kKeyDown);
    }
    return GUIElement::OnKeyChar(character);
}

void OptionBox::OnFocusIn() {
    GUIElement::OnFocusIn();
    Paint();
}

void OptionBox::OnFocusOut() {
    GUIElement::OnFocusOut();
    Paint();
}

XImage* OptionBox::MarkFor(bool chosen) {
    if (imageSelected == nullptr) {
        imageSelected.reset(
            CreateImageFromBlock(this, imgOPTION_SELECTED, wOPTION_SELECTED, hOPTION_SELECTED));
        imageSelectedDisabled.reset(CreateImageFromBlock(this, imgOPTION_SELECTED_DISABLED,
                                                         wOPTION_SELECTED_DISABLED,
                                                         hOPTION_SELECTED_DISABLED));
        imageUnselected.reset(CreateImageFromBlock(this, imgOPTION_UNSELECTED, wOPTION_UNSELECTED,
                                                   hOPTION_UNSELECTED));
        imageUnselectedDisabled.reset(CreateImageFromBlock(this, imgOPTION_UNSELECTED_DISABLED,
                                                           wOPTION_UNSELECTED_DISABLED,
                                                           hOPTION_UNSELECTED_DISABLED));
    }
    if (enabled) {
        return chosen ? imageSelected.get() : imageUnselected.get();
    }
    return chosen ? imageSelectedDisabled.get() : imageUnselectedDisabled.get();
}

void OptionBox::Paint() {
    if (!ShouldPaint()) {
        return;
    }
    // The control grows to hold every row, and keeps that size, so that a later paint with
    // fewer options clears the rows that went.
    height = std::max(height, GetCount() * kRowHeight);
    DrawingContext dc(Application::GetForm(this));
    const int left = FormX();
    const int top = FormY();
    const long background = static_cast<long>(OwnBackColor());
    const long captionColor = enabled ? textColor : kDisabledColor;

    FillRect(dc, left, top, width + 1, height + 1, 0, -1, background);
    // Before the first choice the focus sits on the first row, where Down or a space goes.
    const int focusRow = selected == kNoSelection ? 0 : selected;
    for (int i = 0; i < GetCount(); ++i) {
        const int rowTop = top + kRowHeight * i;
        PutImageKeyed(dc, left + kMarkLeft, rowTop + kMarkTop, kMarkSize, kMarkSize,
                      MarkFor(i == selected), kTransparent);
        DrawText(dc, left + kCaptionLeft, rowTop + 1, width - 30, kRowHeight,
                 captions[static_cast<size_t>(i)], captionColor, background, kAlignLeft);
        if (hasFocus && enabled && i == focusRow) {
            DrawFocusRect(dc, left + 25, rowTop + 2, width - 30, kRowHeight - 2, textColor,
                          FocusSides::kFlush);
        }
    }
}
