#include "app/Application.h"

#include <algorithm>
#include <string>

#include "gui/core/Form.h"
#include "gui/core/GUIElement.h"
#include "gui/core/PackedPoint.h"
#include "util/Log.h"

namespace Application {

std::vector<GUIElement*> allElements;
std::vector<GUIElement*> forms;
std::vector<GUIElement*> timers;
GUIElement* focusedElement = nullptr;
bool quitRequested = false;
bool suspendPaint = false;
unsigned char keyDown[256] = {};
uint32_t nextElementId = 0;
Time userTime = CurrentTime;
std::unique_ptr<Form> currentMsgBox;
std::vector<std::unique_ptr<Form>> retiredForms;

namespace {

bool Erase(std::vector<GUIElement*>& list, GUIElement* element) {
    const auto found = std::find(list.begin(), list.end(), element);
    if (found == list.end()) {
        return false;
    }
    list.erase(found);
    return true;
}

} // namespace

void RegisterElement(GUIElement* element) {
    allElements.push_back(element);
}

void RegisterForm(GUIElement* element) {
    if (element->GetKind() == "form") {
        forms.push_back(element);
    }
}

void RegisterTimer(GUIElement* element) {
    if (element->GetKind() == "timer") {
        timers.push_back(element);
    }
}

void RemoveWindow(std::vector<GUIElement*>& list, GUIElement* element) {
    if (Erase(list, element)) {
        return;
    }
    LogString(" NON TROVATO! Application::RemoveWindow = " + element->GetKind() + " lx " +
              std::to_string(list.size()) + " id " + std::to_string(element->GetId()));
}

void UnregisterElement(GUIElement* element) {
    const std::string kind = element->GetKind();
    if (kind == "form") {
        RemoveWindow(forms, element);
    } else if (kind == "timer") {
        RemoveWindow(timers, element);
    }
    // A destroyed control must not stay the focus target: the next key or click would be
    // dispatched to freed memory.
    if (focusedElement == element) {
        focusedElement = nullptr;
    }
    if (Erase(allElements, element)) {
        return;
    }
    LogString(" NON TROVATO! Application::RemoveWinForm = " + kind + " size " +
              std::to_string(allElements.size()) + " id " + std::to_string(element->GetId()));
}

namespace {

bool IsRegistered(GUIElement* element) {
    return std::find(allElements.begin(), allElements.end(), element) != allElements.end();
}

} // namespace

bool MoveFocus(GUIElement* element) {
    GUIElement* old = focusedElement;
    if (old == element) {
        return true;
    }
    if (old != nullptr) {
        // Cleared while the old control is told, so that a handler that moves the focus
        // itself starts from no focus rather than telling the old control twice.
        focusedElement = nullptr;
        old->OnFocusOut();
        // Its handlers may have closed the form that holds the new control, or given the
        // focus elsewhere; the latest move wins.
        if (!IsRegistered(element) || focusedElement != nullptr) {
            return focusedElement == element;
        }
    }
    focusedElement = element;
    element->OnFocusIn();
    return focusedElement == element;
}

void DropFocus() {
    GUIElement* focused = focusedElement;
    focusedElement = nullptr;
    if (focused != nullptr) {
        focused->OnFocusOut();
    }
}

void Retire(std::unique_ptr<Form> form) {
    if (form == nullptr) {
        return;
    }
    form->DestroyWindow();
    retiredForms.push_back(std::move(form));
}

void DestroyRetiredForms() {
    // A form's destructor may retire another form; those wait for the next call.
    std::vector<std::unique_ptr<Form>> dying;
    dying.swap(retiredForms);
}

Form* FindFormByWindow(Window window) {
    for (GUIElement* element : forms) {
        auto* form = static_cast<Form*>(element);
        if (form->GetWindow() == window) {
            return form;
        }
    }
    return nullptr;
}

GUIElement* FindChildAt(uint32_t formId, int64_t point) {
    for (GUIElement* element : allElements) {
        if (!element->IsChild() || !element->IsCreated() || !element->IsVisible() ||
            !element->IsEnabled()) {
            continue;
        }
        GUIElement* parent = element->GetParent();
        if (parent == nullptr || parent->GetId() != formId) {
            continue;
        }
        if (element->GetKind() != "panel") {
            if (element->HitTest(point)) {
                return element;
            }
            continue;
        }
        // Children of a panel are placed relative to it.
        const int64_t origin = element->GetPosition();
        const int64_t inside =
            PackPoint(PointX(point) - PointX(origin), PointY(point) - PointY(origin));
        if (GUIElement* hit = FindChildAt(element->GetId(), inside)) {
            return hit;
        }
    }
    return nullptr;
}

std::vector<GUIElement*> CollectChildren(uint32_t parentId) {
    std::vector<GUIElement*> children;
    // The walk may re-enter for panels; copying the list keeps it stable against a paint that
    // creates or destroys elements.
    const std::vector<GUIElement*> snapshot = allElements;
    for (GUIElement* element : snapshot) {
        GUIElement* parent = element->GetParent();
        if (!element->IsChild() || parent == nullptr || parent->GetId() != parentId) {
            continue;
        }
        children.push_back(element);
        if (element->GetKind() == "panel") {
            const std::vector<GUIElement*> nested = CollectChildren(element->GetId());
            children.insert(children.end(), nested.begin(), nested.end());
        }
    }
    return children;
}

Form* GetForm(GUIElement* control) {
    for (GUIElement* element = control->GetParent(); element != nullptr;
         element = element->GetParent()) {
        if (element->GetKind() == "form") {
            return static_cast<Form*>(element);
        }
    }
    return nullptr;
}

int64_t GetOffsetInForm(GUIElement* control, int x, int y) {
    for (GUIElement* element = control->GetParent();
         element != nullptr && element->GetKind() != "form"; element = element->GetParent()) {
        const int64_t position = element->GetPosition();
        x += PointX(position);
        y += PointY(position);
    }
    return PackPoint(x, y);
}

GUIElement* FindElementById(uint32_t id) {
    for (GUIElement* element : allElements) {
        if (element != nullptr && element->GetId() == id) {
            return element;
        }
    }
    return nullptr;
}

Form* FindParentForm(GUIElement* element) {
    for (; element != nullptr; element = element->GetParent()) {
        if (element->GetKind() == "form") {
            return static_cast<Form*>(element);
        }
    }
    return nullptr;
}

bool IsKeyDown(int code) {
    return code >= 0 && code <= 255 && keyDown[code] == 1;
}

void DestroyFormWindows() {
    const std::vector<GUIElement*> snapshot = allElements;
    for (GUIElement* element : snapshot) {
        if (element != nullptr && element->GetKind() == "form" && element->IsCreated()) {
            static_cast<Form*>(element)->DestroyWindow();
        }
    }
}

} // namespace Application
