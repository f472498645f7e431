#include "gui/core/CommandElement.h"

void CommandElement::Execute(GUIElement* sender) const {
    if (command != nullptr) {
        command(sender);
    }
}
