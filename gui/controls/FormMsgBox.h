#pragma once

#include <memory>
#include <string>

#include "gui/core/Area.h"
#include "gui/core/Form.h"

class ButtonCustom;
class CellControl;

// Answers a message box delivers to its owner's OnMsgBoxResult.
enum MsgBoxResult {
    kMsgBoxClosed = 0, // closed by the window manager, without a button
    kMsgBoxOk = 1,
    kMsgBoxYes = 3,
    kMsgBoxNo = 4,
};

// The standard message box: a notice with "OK" or a question with "YES" and "NO". It does not
// block: the owner is disabled while the box is open, and the answer arrives later, once,
// through the owner's OnMsgBoxResult with the box's code.
class FormMsgBox : public Form {
  public:
    // Every box has one size: the message above, the buttons in the bottom row. OK takes the
    // place of YES in a notice.
    static constexpr int kWidth = 250;
    static constexpr int kHeight = 150;
    static constexpr Area kMessageArea{10, 10, kWidth - 20, kHeight - 60};
    static constexpr Area kYesArea{kWidth - 120, kHeight - 40, 110, 28};
    static constexpr Area kNoArea{10, kHeight - 40, 110, 28};

    FormMsgBox(Screen* screen, int code, bool yesNo, Form* owner, const std::string& title,
               const std::string& message);
    ~FormMsgBox() override;

    void Paint() override;
    void Update() override;

    virtual void Setup(int newCode, bool question, const std::string& title,
                       const std::string& text);
    virtual void OnLoad();
    virtual bool CanClose();
    virtual void NotifyOwner();
    virtual void OnButton(GUIElement* button);
    virtual void SetMessage(const std::string& text);

    int GetCode() const { return code; }
    int GetResult() const { return result; }
    ButtonCustom* GetYesButton() const { return buttonYes.get(); }
    ButtonCustom* GetNoButton() const { return buttonNo.get(); }
    CellControl* GetLabel() const { return label.get(); }

  private:
    Form* owner;
    std::unique_ptr<CellControl> label;
    std::string message;
    bool yesNo;
    int code;
    int result = kMsgBoxClosed;
    std::unique_ptr<ButtonCustom> buttonYes;
    std::unique_ptr<ButtonCustom> buttonNo;
};

// Entry points: each replaces the current box (an open one is closed without an answer). A
// null owner means the main window, the first form made.
void ShowMsgBox(Form* owner, const std::string& message, const std::string& title);
void ShowMsgBox(const std::string& message, const std::string& title);
void ShowMsgBoxYesNo(int code, Form* owner, const std::string& message, const std::string& title);
void ShowMsgBoxYesNo(int code, const std::string& message, const std::string& title);
