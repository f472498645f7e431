#pragma once

#include <vector>

#include "gui/core/Child.h"

// A container: a rectangle with an optional frame and caption, inside which other controls
// are placed relative to it. It shows, hides, moves and repaints its children with itself.
class PanelChildren : public Child {
  public:
    explicit PanelChildren(GUIElement* parent);

    void SetSize(int w, int h) override;
    void Move(int newX, int newY) override;
    void Show() override;
    void ShowMapped() override;
    void Hide() override;
    void Paint() override;
    void Create() override;

    void SetBorder(bool value);
    void SetFlatBorder(bool value);
    void SetSunken(bool value);
    void SetCaptionColor(int64_t color) { captionColor = color; }
    void SetChildBackColor(int64_t color) { childBackColor = color; }

  private:
    // The controls placed directly in the panel; a nested panel looks after its own.
    std::vector<GUIElement*> Children();

    bool border = false;
    bool flatBorder = false;
    bool sunken = true;
    int64_t captionColor = -1;
    int64_t childBackColor = -1;
};
