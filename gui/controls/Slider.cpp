#include "gui/controls/Slider.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "app/Application.h"
#include "gui/core/PackedPoint.h"
#include "gui/graphics/DrawingContext.h"

namespace {

// The light line beside the track and each tick, and the thumb's rim.
const long kShade = 0xdddddd;

// Room at the ends for the labels: a horizontal track runs from 20 pixels in to 19 before the
// right edge, a vertical one from 18 pixels down to 17 above the bottom.
const int kLabelWidth = 20;
const int kHorizontalMargin = 40;
const int kMinimumHeight = 36;
const int kLabelHeight = 18;
const int kVerticalMargin = 36;
const int kMinimumWidth = 40;

const int kTickReach = 3;
const int kThumbNear = 5;
const int kThumbFar = 15;
const int kThumbHalfWidth = 10;

} // namespace

Slider::Slider(GUIElement* parentElement, bool isVertical, int low, int high)
    : minimum(std::min(low, high)), maximum(std::max(low, high)), value(minimum),
      vertical(isVertical) {
    parent = parentElement;
    kind = "slider";
    tabStop = true;
    autoRedraw = true;
}

int Slider::Steps() const {
    return static_cast<int>(std::min<int64_t>(Range(), kMaxTicks));
}

int Slider::TickOf(int someValue) const {
    const int64_t above = static_cast<int64_t>(someValue) - minimum;
    return static_cast<int>(Steps() == Range() ? above : above * Steps() / Range());
}

int Slider::ValueAt(int tick) const {
    const int steps = Steps();
    return static_cast<int>(steps == 0 ? minimum : minimum + tick * Range() / steps);
}

void Slider::SetSize(int w, int h) {
    Relocate(x, y, w, h);
}

void Slider::Move(int newX, int newY) {
    Relocate(newX, newY, width, height);
}

void Slider::Show() {
    GUIElement::Show();
    Paint();
}

void Slider::ShowMapped() {
    Show();
}

void Slider::Hide() {
    if (created) {
        Erase(ParentBackColor());
    }
}

void Slider::Create() {
    CreateInForm();
}

void Slider::Enable(bool value) {
    enabled = value;
    if (!enabled) {
        dragging = false;
    }
    RepaintIfCreated();
}

void Slider::SetValue(int newValue) {
    value = std::clamp(newValue, minimum, maximum);
    RepaintIfCreated();
}

void Slider::SetColor(long newColor) {
    color = newColor;
    RepaintIfCreated();
}

void Slider::SetShowLabels(bool value) {
    showLabels = value;
    RepaintIfCreated();
}

void Slider::FireValueChanged() {
    if (onValueChanged != nullptr) {
        onValueChanged(this, value);
    }
    if (onChange != nullptr) {
        onChange(this);
    }
}

bool Slider::PickAt(int pointX, int pointY) {
    for (size_t i = 0; i < ticks.size(); ++i) {
        const int along = vertical ? ticks[i].y : ticks[i].x;
        if (along + kPickSlack >= (vertical ? pointY : pointX)) {
            const int picked = ValueAt(static_cast<int>(i));
            if (picked == value) {
                return false;
            }
            value = picked;
            FireValueChanged();
            return true;
        }
    }
    return false;
}

void Slider::Step(bool up) {
    const int old = value;
    if (up) {
        value = value == maximum ? minimum : value + 1;
    } else {
        value = value == minimum ? maximum : value - 1;
    }
    Paint();
    if (value != old) {
        FireValueChanged();
    }
}

void Slider::OnMouseDown(int64_t point) {
    if (enabled) {
        dragging = true;
        if (PickAt(PointX(point), PointY(point))) {
            Paint();
        }
    }
    GUIElement::OnMouseDown(point);
}

void Slider::OnMouseMove(int mouseX, int mouseY) {
    if (dragging && PickAt(mouseX, mouseY)) {
        Paint();
    }
    GUIElement::OnMouseMove(mouseX, mouseY);
}

void Slider::OnClick(int64_t point) {
    dragging = false;
    GUIElement::OnClick(point);
}

// Keys that are not for the slider are not passed to the key-down hook either.
void Slider::OnKeyDown(Key key) {
    if (!enabled || !hasFocus) {
        return;
    }
    if (key == kKeyRight || key == kKeyDown) {
        Step(true);
    } else if (key == kKeyLeft || key == kKeyUp) {
        Step(false);
    }
}

bool Slider::OnKeyChar(int character) {
    if (character == kCharSpace) {
        OnKeyDown(kKeyDown);
    }
    return GUIElement::OnKeyChar(character);
}

void Slider::SetFocus() {
    if (created) {
        Application::MoveFocus(this);
    }
}

void Slider::OnFocusIn() {
    GUIElement::OnFocusIn();
    Paint();
}

// A release outside the slider arrives as the loss of the focus: that ends a drag too.
void Slider::OnFocusOut() {
    GUIElement::OnFocusOut();
    dragging = false;
    Paint();
}

void Slider::ApplySizeRules() {
    const int steps = Steps();
    if (vertical) {
        width = std::max(width, kMinimumWidth);
        const int least = steps * kMinimumStep + kVerticalMargin;
        if (steps == 0) {
            height = std::max(height, least);
        } else if (height < least) {
            height = least;
        } else {
            height = (height - kVerticalMargin) / steps * steps + kVerticalMargin;
        }
    } else {
        height = std::max(height, kMinimumHeight);
        width = std::max(width, steps * kMinimumStep + kHorizontalMargin);
        if (steps > 0) {
            width = (width - kHorizontalMargin) / steps * steps + kHorizontalMargin;
        }
    }
}

void Slider::PaintHorizontal(DrawingContext& dc, int left, int top, long foreground,
                             long background) {
    const int steps = Steps();
    const int span = width - kHorizontalMargin + 1;
    const int start = left + kLabelWidth;
    const int end = start + span;
    const int middle = top + (height + 1) / 2;
    if (showLabels) {
        DrawText(dc, left, top, kLabelWidth, height, std::to_string(minimum), foreground,
                 background, kAlignCenter);
        // A slider of one value says it once.
        if (steps > 0) {
            DrawText(dc, left + width - kLabelWidth + 1, top, kLabelWidth, height,
                     std::to_string(maximum), foreground, background, kAlignCenter);
        }
    }
    DrawLine(dc, start, middle, end, middle, 1, foreground);
    DrawLine(dc, start, middle + 1, end, middle + 1, 1, kShade);
    for (int i = 0; i <= steps; ++i) {
        // The last tick goes to the end of the track, whatever the rounding of the spacing.
        const int tickX = (i == steps && steps > 0) ? end : start + i * (span / std::max(steps, 1));
        DrawLine(dc, tickX, middle - kTickReach, tickX, middle + kTickReach, 1, foreground);
        DrawLine(dc, tickX + 1, middle - kTickReach, tickX + 1, middle + kTickReach, 1, kShade);
        ticks.push_back({tickX, middle});
        if (i == TickOf(value)) {
            XPoint thumb[] = {
                {static_cast<short>(tickX), static_cast<short>(middle - kThumbNear)},
                {static_cast<short>(tickX + kThumbHalfWidth),
                 static_cast<short>(middle - kThumbFar)},
                {static_cast<short>(tickX - kThumbHalfWidth),
                 static_cast<short>(middle - kThumbFar)},
            };
            FillPolygon(dc, thumb, 3, 1, kShade, foreground);
        }
    }
}

void Slider::PaintVertical(DrawingContext& dc, int left, int top, long foreground,
                           long background) {
    const int steps = Steps();
    const int span = height - kVerticalMargin + 1;
    const int start = top + kLabelHeight;
    const int end = start + span;
    const int middle = left + (width + 1) / 2;
    if (showLabels) {
        DrawText(dc, left, top, width + 1, kLabelHeight, std::to_string(minimum), foreground,
                 background, kAlignCenter);
        if (steps > 0) {
            DrawText(dc, left, top + height - kLabelHeight, width + 1, kLabelHeight,
                     std::to_string(maximum), foreground, background, kAlignCenter);
        }
    }
    DrawLine(dc, middle + 1, start, middle + 1, end, 1, kShade);
    DrawLine(dc, middle, start, middle, end, 1, foreground);
    for (int i = 0; i <= steps; ++i) {
        const int tickY = (i == steps && steps > 0) ? end : start + i * (span / std::max(steps, 1));
        DrawLine(dc, middle - kTickReach, tickY, middle + kTickReach, tickY, 1, foreground);
        DrawLine(dc, middle - kTickReach, tickY + 1, middle + kTickReach, tickY + 1, 1, kShade);
        ticks.push_back({middle, tickY});
        if (i == TickOf(value)) {
            XPoint thumb[] = {
                {static_cast<short>(middle + kThumbNear), static_cast<short>(tickY)},
                {static_cast<short>(middle + kThumbFar),
                 static_cast<short>(tickY - kThumbHalfWidth)},
                {static_cast<short>(middle + kThumbFar),
                 static_cast<short>(tickY + kThumbHalfWidth)},
            };
            FillPolygon(dc, thumb, 3, 1, kShade, foreground);
        }
    }
}

void Slider::Paint() {
    if (!ShouldPaint()) {
        return;
    }
    ApplySizeRules();
    DrawingContext dc(Application::GetForm(this));
    const int left = FormX();
    const int top = FormY();
    const long background = static_cast<long>(OwnBackColor());
    const long foreground = enabled ? color : kDisabledColor;

    FillRect(dc, left, top, width + 1, height + 1, 0, -1, background);
    ticks.clear();
    if (vertical) {
        PaintVertical(dc, left, top, foreground, background);
    } else {
        PaintHorizontal(dc, left, top, foreground, background);
    }
    if (hasFocus && enabled) {
        DrawFocusRect(dc, left, top + 1, width, height - 2, foreground, FocusSides::kExtended);
    }
}
