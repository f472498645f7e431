#pragma once

#include "gui/core/GUIElement.h"

// The base of everything that lives inside a form: controls, pictures, panels and timers.
class Child : public GUIElement {
  public:
    Child();
    ~Child() override;

  protected:
    // Whether a paint may draw now: the control is created and its form is not still loading.
    bool ShouldPaint() const;
    // Repaints a created control after a change; before creation the first Show paints.
    void RepaintIfCreated();
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
    // New geometry for a control drawn into its form: only stored before creation; once
    // created, the control is erased at its old place and shown at the new one.
    void Relocate(int newX, int newY, int w, int h);
    // Clears the control's whole rectangle with the colour and marks it hidden and not
    // created, so that the next Show creates and paints it again.
    void Erase(int64_t color);
};
