#pragma once

#include "gui/core/GUIElement.h"

// The base of everything that lives inside a form: controls, pictures, panels and timers.
class Child : public GUIElement {
public:
    Child();
    ~Child() override;
};
