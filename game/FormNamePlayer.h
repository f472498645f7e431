#pragma once

#include <memory>
#include <string>

#include "gui/core/Form.h"

class ButtonCustom;
class CellControl;
class TextBoxCustom;

// The name of the last player who answered the name dialog; emptied whenever a new dialog
// is made.
extern std::string playerName;

// A small dialog that asks for a player's name: a centred prompt, a box of ten characters
// and OK. Its owner is disabled while it is open. OK, Enter or Delete accept a name that is
// not empty: it goes to playerName and the dialog closes. An empty name beeps and keeps the
// dialog open; Escape means nothing here.
class FormNamePlayer : public Form {
  public:
    static constexpr int kWidth = 250;
    static constexpr int kHeight = 115;
    static constexpr int kMaxNameLength = 10;

    FormNamePlayer(Form* owner, intptr_t ownerHandle, const std::string& title);
    FormNamePlayer(intptr_t ownerHandle, const std::string& title);
    ~FormNamePlayer() override;

    void Update() override;

    virtual void OnLoad();
    virtual bool CanClose();
    virtual void OnResizeForm();
    virtual bool FilterKey(int key);
    virtual void OnKeyDownForm(Key key);
    virtual void OnKeyUpForm(Key key);
    virtual void OnButton(GUIElement* button);

    void SetPrompt(const std::string& text);
    TextBoxCustom* GetNameBox() const { return textName.get(); }
    ButtonCustom* GetOkButton() const { return buttonOk.get(); }

  private:
    void BindHooks();

    Form* owner = nullptr;
    std::unique_ptr<TextBoxCustom> textName;
    std::unique_ptr<CellControl> labelPrompt;
    std::unique_ptr<ButtonCustom> buttonOk;
    std::string prompt;
};
