#include "gui/controls/PanelChildren.h"

#include "app/Application.h"
#include "gui/core/Form.h"
#include "gui/graphics/DrawingContext.h"

namespace {

const long kBlack = 0x000000;
const long kWhite = 0xffffff;
const int kCaptionHeight = 10;

} // namespace

PanelChildren::PanelChildren(GUIElement* parentElement) {
    parent = parentElement;
    kind = "panel";
    tabStop = false;
    autoRedraw = true;
}

std::vector<GUIElement*> PanelChildren::Children() {
    std::vector<GUIElement*> direct;
    for (GUIElement* element : Application::CollectChildren(id)) {
        if (element->GetParent() == this) {
            direct.push_back(element);
        }
    }
    return direct;
}

void PanelChildren::SetBorder(bool value) {
    border = value;
    flatBorder = false;
}

void PanelChildren::SetFlatBorder(bool value) {
    flatBorder = value;
    border = true;
}

void PanelChildren::SetSunken(bool value) {
    sunken = value;
    border = true;
}

void PanelChildren::Create() {
    CreateInForm();
}

void PanelChildren::Show() {
    if (!created) {
        Create();
    }
    Paint();
    for (GUIElement* child : Children()) {
        child->Show();
    }
    GUIElement::Show();
}

void PanelChildren::ShowMapped() {
    Show();
}

void PanelChildren::Hide() {
    for (GUIElement* child : Children()) {
        child->Hide();
    }
    Erase(ParentBackColor());
}

void PanelChildren::SetSize(int w, int h) {
    Relocate(x, y, w, h);
}

void PanelChildren::Move(int newX, int newY) {
    Relocate(newX, newY, width, height);
}

void PanelChildren::Paint() {
    if (!ShouldPaint()) {
        return;
    }
    DrawingContext dc(Application::GetForm(this));
    // Drawn at its offset in the form, so a panel inside a panel lands where its children
    // (which convert through every ancestor) expect it.
    const int left = FormX();
    const int top = FormY();
    const long background = backColor != -1 ? static_cast<long>(backColor) : kDefaultBackColor;
    FillRect(dc, left, top, width, height, 0, -1, background);

    if (border) {
        if (flatBorder) {
            DrawRect(dc, left, top, width, height, 1, kBlack);
        } else {
            DrawBevel(dc, left, top, width, height, sunken ? kBlack : kWhite,
                      sunken ? kWhite : kBlack);
        }
    }
    if (!text.empty()) {
        DrawText(dc, left + 4, top + 2, width - 8, kCaptionHeight, text,
                 captionColor != -1 ? static_cast<long>(captionColor) : kBlack, background,
                 kAlignLeft);
    }
    for (GUIElement* child : Children()) {
        if (child->IsAutoRedraw() && child->IsCreated()) {
            if (childBackColor != -1 && child->GetBackColor() != childBackColor) {
                child->SetBackColor(childBackColor);
            }
            child->Paint();
        }
    }
}
