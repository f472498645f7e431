#include "gui/core/Child.h"

#include "app/Application.h"
#include "gui/core/Form.h"
#include "gui/core/PackedPoint.h"
#include "gui/graphics/DrawingContext.h"

Child::Child() : GUIElement(0) {
    isChild = true;
}

Child::~Child() {
    Application::UnregisterElement(this);
}

bool Child::ShouldPaint() const {
    return created && !Application::suspendPaint;
}

void Child::RepaintIfCreated() {
    if (created) {
        Paint();
    }
}

int64_t Child::ParentBackColor() {
    if (parent != nullptr && parent->GetBackColor() != -1) {
        return parent->GetBackColor();
    }
    Form* form = Application::GetForm(this);
    if (form != nullptr && form->GetBackColor() != -1) {
        return form->GetBackColor();
    }
    return kDefaultBackColor;
}

int64_t Child::OwnBackColor() {
    return backColor != -1 ? backColor : ParentBackColor();
}

void Child::CreateInForm() {
    if (created) {
        return;
    }
    AssignId();
    created = true;
    visible = true;
}

int Child::FormX() {
    return PointX(Application::GetOffsetInForm(this, x, y));
}

int Child::FormY() {
    return PointY(Application::GetOffsetInForm(this, x, y));
}

void Child::Relocate(int newX, int newY, int w, int h) {
    if (!created) {
        x = newX;
        y = newY;
        width = w;
        height = h;
        return;
    }
    Hide();
    x = newX;
    y = newY;
    width = w;
    height = h;
    Show();
}

void Child::Erase(int64_t color) {
    DrawingContext dc(Application::GetForm(this));
    // FillRect leaves out its last row and column, so w + 1 by h + 1 clears exactly w x h.
    FillRect(dc, FormX(), FormY(), width + 1, height + 1, 0, -1, static_cast<long>(color));
    visible = false;
    created = false;
}
