#include "gui/core/Child.h"

#include "app/Application.h"

Child::Child() : GUIElement(0) { isChild = true; }

Child::~Child() { Application::UnregisterElement(this); }
