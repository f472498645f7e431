#pragma once

class GUIElement;

using Command = void (*)(GUIElement* sender);

// The second base of the controls that carry out a command when activated.
class CommandElement {
  public:
    void SetCommand(Command value) { command = value; }
    void Execute(GUIElement* sender) const;

  private:
    Command command = nullptr;
};
