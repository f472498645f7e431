#pragma once

#include "gui/core/Child.h"
#include "gui/core/CommandElement.h"

// The push button: a raised bevelled face with a centred caption that looks pressed while
// the mouse button or Return is held on it and runs its command when released.
class ButtonCustom : public Child, public CommandElement {
  public:
    // The caption is drawn into the face less these margins on each side, inside the bevel.
    static constexpr int kCaptionMarginX = 6;
    static constexpr int kCaptionMarginY = 4;

    ButtonCustom(GUIElement* parent, const std::string& caption);

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

    virtual void SetButtonEnabled(int value);
    virtual void SetTextColor(long color);

    void SetContentHidden(bool value);
    void SetIcon(XImage* image);
    void SetDisabledIcon(XImage* image);
    bool IsPressed() const { return pressed; }

  private:
    long textColor = 0;
    bool pressed = false;
    bool contentHidden = false;
    XImage* icon = nullptr;
    XImage* disabledIcon = nullptr;
};
