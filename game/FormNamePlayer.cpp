#include "game/FormNamePlayer.h"

#include "app/Application.h"
#include "gui/controls/ButtonCustom.h"
#include "gui/controls/CellControl.h"
#include "gui/controls/TextBoxCustom.h"
#include "gui/graphics/DrawingContext.h"
#include "util/SoundCommand.h"

std::string playerName;

namespace {

const int kPromptTop = 15;
const int kPromptHeight = 14;
const int kBoxTop = 45;
const int kBoxHeight = 20;
const int kOkWidth = 80;
const int kOkHeight = 28;
const int kOkTop = 80;

FormNamePlayer* DialogOf(GUIElement* element) {
    return dynamic_cast<FormNamePlayer*>(Application::FindParentForm(element));
}

void RunLoad(GUIElement* element, uint64_t) {
    static_cast<FormNamePlayer*>(element)->OnLoad();
}
bool RunCanClose(GUIElement* element) {
    return static_cast<FormNamePlayer*>(element)->CanClose();
}
void RunResize(GUIElement* element) {
    static_cast<FormNamePlayer*>(element)->OnResizeForm();
}
void RunKeyDown(GUIElement* element, Key key) {
    static_cast<FormNamePlayer*>(element)->OnKeyDownForm(key);
}
void RunKeyUp(GUIElement* element, Key key) {
    static_cast<FormNamePlayer*>(element)->OnKeyUpForm(key);
}

bool FilterKeyOfDialog(GUIElement* element, int character) {
    FormNamePlayer* dialog = DialogOf(element);
    return dialog != nullptr ? dialog->FilterKey(character) : true;
}

void OkCommand(GUIElement* button) {
    if (FormNamePlayer* dialog = DialogOf(button)) {
        dialog->OnButton(button);
    }
}

} // namespace

FormNamePlayer::FormNamePlayer(Form* owner, intptr_t ownerHandle, const std::string& title)
    : Form(ownerHandle, true), owner(owner) {
    playerName.clear();
    if (owner != nullptr) {
        SetScreen(owner->GetScreen());
        BlockOwner(owner);
    }
    SetSize(kWidth, kHeight);
    SetTitle(title);
    SetStyleFlag3(false);
    SetStyleFlag2(false);
    SetStyleFlag1(false);
    BindHooks();
}

FormNamePlayer::FormNamePlayer(intptr_t ownerHandle, const std::string& title)
    : FormNamePlayer(nullptr, ownerHandle, title) {}

FormNamePlayer::~FormNamePlayer() {
    DestroyWindow();
    textName.reset();
    labelPrompt.reset();
    buttonOk.reset();
}

void FormNamePlayer::BindHooks() {
    SetOnLoad(RunLoad);
    SetOnClosing(RunCanClose);
    SetOnResize(RunResize);
    SetOnKeyChar(FilterKeyOfDialog);
    SetOnKeyDown(RunKeyDown);
    SetOnKeyUp(RunKeyUp);
}

void FormNamePlayer::Update() {
    Form::Update();
}

void FormNamePlayer::SetPrompt(const std::string& text) {
    prompt = text;
    if (window != 0 && labelPrompt != nullptr) {
        labelPrompt->SetText(prompt);
    }
}

void FormNamePlayer::OnLoad() {
    const int w = GetRealWidth();

    labelPrompt = std::make_unique<CellControl>(this);
    labelPrompt->SetSize(w, kPromptHeight);
    labelPrompt->SetPosition(0, kPromptTop);
    labelPrompt->SetText(prompt);
    labelPrompt->SetAlignment(kAlignCenter);
    labelPrompt->Create();

    textName = std::make_unique<TextBoxCustom>(this, "");
    textName->SetSize(w / 2, kBoxHeight);
    textName->SetPosition(w / 4, kBoxTop);
    textName->SetMaxLength(kMaxNameLength);
    textName->SetAlignCenter(true);
    textName->Create();

    buttonOk = std::make_unique<ButtonCustom>(this, "OK");
    buttonOk->SetSize(kOkWidth, kOkHeight);
    buttonOk->SetPosition((w - kOkWidth) / 2, kOkTop);
    buttonOk->SetCommand(OkCommand);
    buttonOk->Create();

    textName->SetFocus();
}

bool FormNamePlayer::CanClose() {
    ReleaseOwner();
    return true;
}

void FormNamePlayer::OnResizeForm() {}

bool FormNamePlayer::FilterKey(int key) {
    if (key == kCharReturn || key == kCharDelete) {
        OnButton(buttonOk.get());
        return false;
    }
    return true;
}

void FormNamePlayer::OnKeyDownForm(Key) {}

void FormNamePlayer::OnKeyUpForm(Key) {}

void FormNamePlayer::OnButton(GUIElement* button) {
    // Enter on the focused OK button arrives twice (its command, then the form's key filter);
    // the second finds the dialog closed already.
    if (button == nullptr || buttonOk == nullptr || button->GetId() != buttonOk->GetId() ||
        window == 0) {
        return;
    }
    const std::string name = textName->GetText();
    if (name.empty()) {
        Beep();
        textName->SetFocus();
        return;
    }
    if (CanClose()) {
        playerName = name;
        DestroyWindow();
        OnClosed();
    }
}
