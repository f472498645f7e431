#pragma once

#include "app/XlibHeaders.h"
#include "gui/core/Child.h"
#include "gui/core/CommandElement.h"
#include "gui/graphics/ImageBlock.h"

// A two-state control: a 20 x 20 box, ticked or not, followed by its caption. A click, or the
// space bar while it has the focus, turns it over and runs its command.
class CheckBox : public Child, public CommandElement {
  public:
    // The box is drawn this far inside the control's top left corner, and the caption starts
    // at kCaptionLeft.
    static constexpr int kMarkInset = 1;
    static constexpr int kMarkSize = 20;
    static constexpr int kCaptionLeft = 26;

    CheckBox(GUIElement* parent, const std::string& caption);

    void SetSize(int w, int h) override;
    void Move(int newX, int newY) override;
    void Show() override;
    void ShowMapped() override;
    void Hide() override;
    void SetText(const std::string& value) override;
    void OnClick(int64_t point) override;
    void OnMouseDown(int64_t point) override;
    void OnKeyDown(Key key) override;
    bool OnKeyChar(int character) override;
    void Paint() override;
    void OnFocusIn() override;
    void OnFocusOut() override;
    void Create() override;

    virtual void Enable(bool value);
    virtual void SetTextColor(long color);

    // Does not run the command: only the user's own toggles do.
    void SetChecked(bool value);
    bool IsChecked() const { return checked; }

  private:
    void Toggle();
    // The picture for the present state, converted for the screen on first use.
    XImage* CurrentMark();

    bool checked = false;
    long textColor = 0;
    ClientImage imageChecked;
    ClientImage imageCheckedDisabled;
    ClientImage imageUnchecked;
    ClientImage imageUncheckedDisabled;
};
