#pragma once

#include "gui/core/Child.h"

// Shows where a value stands within a range: a blue bar growing from the left inside a sunken
// frame. It takes no input and no focus.
class ProgressBar : public Child {
  public:
    // A range given high end first is taken the right way round.
    ProgressBar(GUIElement* parent, int minimum, int maximum);

    void SetSize(int w, int h) override;
    void Move(int newX, int newY) override;
    void Show() override;
    void ShowMapped() override;
    void Hide() override;
    void Paint() override;
    void Create() override;

    void SetBorder(bool value);
    // A value outside the range shows as the nearer end.
    void SetValue(int newValue);
    int GetValue() const { return value; }

  private:
    int minimum;
    int maximum;
    int value;
    bool border = true;
};
