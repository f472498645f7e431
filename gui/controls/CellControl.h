#pragma once

#include "gui/core/Child.h"
#include "gui/graphics/DrawingContext.h"

// The label: a cell that shows a word-wrapped, aligned text on its own background, with an
// optional sunken frame, highlight colours, a "*" mark and an icon. It takes no focus.
class CellControl : public Child {
  public:
    explicit CellControl(GUIElement* parent);

    void Show() override;
    void ShowMapped() override;
    void Hide() override;
    void SetText(const std::string& value) override;
    void Paint() override;
    void Create() override;

    // Setters that repaint and mark the cell changed only when the value differs
    void SetAlignment(int value);
    void SetTextColor(long color);
    void SetBorder(bool value);
    void SetStarMark(bool value);
    void SetFontName(const std::string& value);
    void SetFontSize(int value);

    // Setters that always store and repaint
    void SetHighlighted(bool value);
    void SetHighlightTextColor(long color);
    void SetHighlightBackColor(long color);
    void SetIcon(XImage* image, int w, int h, int align);

    long GetTextColor() const { return textColor; }
    bool IsChanged() const { return changed; }
    void ClearChanged() { changed = false; }
    void RestoreBackColor();

  private:
    // Stores a changed value, marks the cell changed and repaints it when shown.
    template <typename T> void Change(T& field, const T& value);

    bool changed = false;
    XImage* icon = nullptr;
    int iconAlign = 1;
    int iconWidth = 0;
    int iconHeight = 0;
    bool starMark = false;
    std::string fontName = "Topaz";
    int fontSize = 8;
    int alignment = kAlignCenter;
    long textColor = 0;
    int64_t savedBackColor = -1;
    bool border = false;
    bool highlighted = false;
    long highlightTextColor = 0;
    long highlightBackColor = 0xffff00;
};
