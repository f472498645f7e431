#pragma once

#include "gui/core/GUIElement.h"

// The base of everything that lives inside a form: controls, pictures, panels and timers.
class Child : public GUIElement {
public:
    Child();
    ~Child() override;

protected:
    // The colour behind the control: its parent's, else its form's, else the default grey.
    int64_t ParentBackColor();
    // The control's own background, falling back to ParentBackColor.
    int64_t OwnBackColor();
    // Takes the next id from the registry and marks the control created and visible; no
    // window is made, controls are drawn into their form's window.
    void CreateInForm();
    // The control's position in the coordinates of its form's window.
    int FormX();
    int FormY();
};
