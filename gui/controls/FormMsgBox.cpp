#include "gui/controls/FormMsgBox.h"

#include "app/Application.h"
#include "gui/controls/ButtonCustom.h"
#include "gui/controls/CellControl.h"
#include "gui/core/PackedPoint.h"

namespace {

const int64_t kBoxColor = 0xaaaaaa;
const int64_t kLabelColor = 0xb7b7b7;

FormMsgBox* BoxOf(GUIElement* element) {
    return dynamic_cast<FormMsgBox*>(Application::FindParentForm(element));
}

void RunLoad(GUIElement* element, uint64_t) {
    static_cast<FormMsgBox*>(element)->OnLoad();
}
bool RunCanClose(GUIElement* element) {
    return static_cast<FormMsgBox*>(element)->CanClose();
}
void RunNotifyOwner(GUIElement* element) {
    static_cast<FormMsgBox*>(element)->NotifyOwner();
}
// The box gives typed characters no meaning; only its buttons answer.
bool AcceptKey(GUIElement*, int) {
    return true;
}

void ButtonCommand(GUIElement* button) {
    if (FormMsgBox* box = BoxOf(button)) {
        box->OnButton(button);
    }
}

void Open(int code, bool yesNo, Form* owner, const std::string& message, const std::string& title) {
    if (owner == nullptr) {
        owner =
            Application::forms.empty() ? nullptr : static_cast<Form*>(Application::forms.front());
    }
    // The box replaced may be the one whose answer is being delivered right now; it is only
    // freed once its handler has returned.
    Application::Retire(std::move(Application::currentMsgBox));
    if (owner == nullptr) {
        return;
    }
    Application::currentMsgBox =
        std::make_unique<FormMsgBox>(owner->GetScreen(), code, yesNo, owner, title, message);
}

} // namespace

FormMsgBox::FormMsgBox(Screen* screen, int code, bool yesNo, Form* owner, const std::string& title,
                       const std::string& message)
    : Form(0), owner(owner), message(message), yesNo(yesNo), code(code) {
    if (screen != nullptr) {
        SetScreen(screen);
    }
    parent = owner;
    BlockOwner(owner);
    isDialog = true;

    SetSize(kWidth, kHeight);
    const int64_t ownerPosition = owner->GetPosition();
    const int64_t ownerSize = owner->GetSize();
    SetPosition(PointX(ownerPosition) + (PointX(ownerSize) - kWidth) / 2,
                PointY(ownerPosition) + (PointY(ownerSize) - kHeight) / 2);
    SetTitle(title);
    SetStyleFlag3(false);
    SetStyleFlag2(false);

    SetOnLoad(RunLoad);
    SetOnClosing(RunCanClose);
    SetOnClosed(RunNotifyOwner);
    SetOnKeyChar(AcceptKey);

    SetBackColor(kBoxColor);
    Create();
}

FormMsgBox::~FormMsgBox() {
    DestroyWindow();
    buttonYes.reset();
    buttonNo.reset();
    label.reset();
}

void FormMsgBox::Paint() {
    Form::Paint();
}

void FormMsgBox::Update() {
    Form::Update();
}

void FormMsgBox::Setup(int newCode, bool question, const std::string& title,
                       const std::string& text) {
    code = newCode;
    yesNo = question;
    SetTitle(title);
    SetMessage(text);
}

void FormMsgBox::OnLoad() {
    label = std::make_unique<CellControl>(this);
    label->SetPosition(kMessageArea.x, kMessageArea.y);
    label->SetBorder(true);
    label->SetBackColor(kLabelColor);
    label->SetTextColor(0);
    label->SetText(message);
    label->SetSize(kMessageArea.w, kMessageArea.h);
    label->Create();

    auto makeButton = [this](const char* caption, const Area& area) {
        auto button = std::make_unique<ButtonCustom>(this, caption);
        button->SetSize(area.w, area.h);
        button->SetPosition(area.x, area.y);
        button->SetCommand(ButtonCommand);
        button->Create();
        return button;
    };
    buttonYes = makeButton(yesNo ? "YES" : "OK", kYesArea);
    buttonNo = makeButton("NO", kNoArea);
    if (!yesNo) {
        buttonNo->Hide();
    }
}

bool FormMsgBox::CanClose() {
    ReleaseOwner();
    return true;
}

void FormMsgBox::NotifyOwner() {
    owner->OnMsgBoxResult(code, result);
}

void FormMsgBox::OnButton(GUIElement* button) {
    if (!CanClose()) {
        return;
    }
    if (buttonYes != nullptr && button->GetId() == buttonYes->GetId()) {
        result = yesNo ? kMsgBoxYes : kMsgBoxOk;
    } else if (buttonNo != nullptr && button->GetId() == buttonNo->GetId()) {
        result = kMsgBoxNo;
    }
    DestroyWindow();
    OnClosed();
}

void FormMsgBox::SetMessage(const std::string& text) {
    message = text;
    if (window != 0 && label != nullptr) {
        label->SetText(message);
    }
}

void ShowMsgBox(Form* owner, const std::string& message, const std::string& title) {
    Open(0, false, owner, message, title);
}

void ShowMsgBox(const std::string& message, const std::string& title) {
    Open(0, false, nullptr, message, title);
}

void ShowMsgBoxYesNo(int code, Form* owner, const std::string& message, const std::string& title) {
    Open(code, true, owner, message, title);
}

void ShowMsgBoxYesNo(int code, const std::string& message, const std::string& title) {
    Open(code, true, nullptr, message, title);
}
