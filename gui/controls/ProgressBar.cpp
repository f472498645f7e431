#include "gui/controls/ProgressBar.h"

#include <algorithm>
#include <cmath>

#include "app/Application.h"
#include "gui/graphics/DrawingContext.h"

namespace {

const long kShadow = 0x000000;
const long kLight = 0xffffff;
const long kBarColor = 0x0000ff;

} // namespace

ProgressBar::ProgressBar(GUIElement* parentElement, int low, int high)
    : minimum(std::min(low, high)), maximum(std::max(low, high)), value(minimum) {
    parent = parentElement;
    kind = "progressbar";
    width = 190;
    height = 25;
    tabStop = false;
    autoRedraw = true;
}

void ProgressBar::SetSize(int w, int h) {
    Relocate(x, y, w, h);
}

void ProgressBar::Move(int newX, int newY) {
    Relocate(newX, newY, width, height);
}

void ProgressBar::Show() {
    GUIElement::Show();
    Paint();
}

void ProgressBar::ShowMapped() {
    Show();
}

// A hidden bar is also uncreated, so that a value set while it is hidden does not paint it
// back onto the form.
void ProgressBar::Hide() {
    if (created) {
        Erase(ParentBackColor());
    }
}

void ProgressBar::Create() {
    CreateInForm();
}

void ProgressBar::SetBorder(bool value) {
    border = value;
    RepaintIfCreated();
}

void ProgressBar::SetValue(int newValue) {
    const int clamped = std::clamp(newValue, minimum, maximum);
    if (clamped == value) {
        return;
    }
    value = clamped;
    RepaintIfCreated();
}

void ProgressBar::Paint() {
    if (!ShouldPaint()) {
        return;
    }
    DrawingContext dc(Application::GetForm(this));
    const int left = FormX();
    const int top = FormY();
    const long trough = backColor != -1 ? static_cast<long>(backColor) : kDefaultBackColor;

    FillRect(dc, left, top, width, height, 0, -1, trough);
    if (border) {
        DrawBevel(dc, left, top, width, height, kShadow, kLight);
    }
    // An empty range has no position to show; the bar stays empty rather than divide by zero.
    if (maximum == minimum) {
        return;
    }
    // The difference is taken in double: int would overflow for a range spanning most of it.
    const double fraction =
        (static_cast<double>(value) - minimum) / (static_cast<double>(maximum) - minimum);
    if (fraction > 0) {
        const int barWidth = static_cast<int>(std::trunc((width - 2) * fraction));
        FillRect(dc, left + 1, top + 1, barWidth, height - 2, 0, -1, kBarColor);
    }
}
