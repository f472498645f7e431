#include "game/FormAbout.h"

#include "app/Application.h"
#include "gui/controls/ButtonCustom.h"
#include "gui/controls/CellControl.h"
#include "gui/controls/PanelChildren.h"
#include "gui/core/PackedPoint.h"
#include "gui/graphics/DrawingContext.h"
#include "gui/graphics/MyImage.h"
#include "util/ChildProcess.h"

namespace {

const long kLinkColor = 255;
const long kWhite = 0xffffff;
// "https://www." before the domain of the web address.
const size_t kWebPrefixLength = 12;

FormAbout* AboutOf(GUIElement* element) {
    return dynamic_cast<FormAbout*>(Application::FindParentForm(element));
}

void RunLoad(GUIElement* element, uint64_t) {
    static_cast<FormAbout*>(element)->OnLoad();
}
bool RunCanClose(GUIElement* element) {
    return static_cast<FormAbout*>(element)->CanClose();
}

bool FilterKeyOfForm(GUIElement* element, int character) {
    FormAbout* about = AboutOf(element);
    return about != nullptr ? about->FilterKey(character) : true;
}

void LinkPressed(GUIElement* element, uint64_t, int64_t) {
    if (FormAbout* about = AboutOf(element)) {
        about->OnLink(element);
    }
}

void OkCommand(GUIElement* button) {
    if (FormAbout* about = AboutOf(button)) {
        about->OnButton(button);
    }
}

// Starts the command in a child and returns at once; when no child can be started, the
// command runs here and the dialog waits for it.
void StartDetached(const std::string& program, const std::string& arguments) {
    if (StartShellChild(program + " " + arguments) < 0) {
        RunCommand(program, arguments);
    }
}

} // namespace

FormAbout::FormAbout(Form* owner) : Form(0, true), owner(owner) {
    SetTitle("Info...");
    SetSize(kWidth, kHeight);
    const int64_t ownerPosition = owner->GetPosition();
    const int64_t ownerSize = owner->GetSize();
    SetPosition(PointX(ownerPosition) + (PointX(ownerSize) - kWidth) / 2,
                PointY(ownerPosition) + (PointY(ownerSize) - kHeight) / 2);
    SetStyleFlag3(false);
    SetStyleFlag2(false);
    SetStyleFlag1(false);
    SetStyleFlag5(true);

    SetOnLoad(RunLoad);
    SetOnClosing(RunCanClose);
    SetOnKeyChar(FilterKeyOfForm);

    BlockOwner(owner);
}

FormAbout::~FormAbout() {
    DestroyWindow();
    icon.reset();
    panelIcon.reset();
    labelName.reset();
    labelCopyright.reset();
    labelLicence.reset();
    linkWeb.reset();
    linkMail.reset();
    buttonOk.reset();
}

void FormAbout::Update() {
    Form::Update();
}

void FormAbout::SetIcon(XImage* image, unsigned int w, unsigned int h) {
    iconImage = image;
    iconWidth = w;
    iconHeight = h;
}

std::string FormAbout::GetMailAddress() const {
    if (webAddress.size() <= kWebPrefixLength) {
        return "info@";
    }
    return "info@" + webAddress.substr(kWebPrefixLength);
}

FormAbout::Layout FormAbout::LayOut(int w, int h, int iconWidth) {
    // The icon sits in a framed panel on the left; the texts and OK share the column right of
    // it, the two links side by side under the copyright.
    const int textLeft = iconWidth + 45;
    const int textWidth = w - textLeft - 10;
    const int okWidth = 80;
    Layout layout;
    layout.iconPanel = {10, 23, iconWidth + 20, h - 73};
    layout.name = {textLeft, 17, textWidth, 25};
    layout.copyright = {textLeft, 38, textWidth, 25};
    layout.webLink = {textLeft, 68, 200, 12};
    layout.mailLink = {iconWidth + 255, 68, 150, 12};
    layout.licence = {textLeft, 95, textWidth, h - 145};
    layout.ok = {textLeft + textWidth / 2 - okWidth / 2, h - 37, okWidth, 28};
    return layout;
}

void FormAbout::OnLoad() {
    const int iw = static_cast<int>(iconWidth);
    const int ih = static_cast<int>(iconHeight);
    const Layout layout = LayOut(GetRealWidth(), GetRealHeight(), iw);

    panelIcon = std::make_unique<PanelChildren>(this);
    panelIcon->SetSize(layout.iconPanel.w, layout.iconPanel.h);
    panelIcon->SetPosition(layout.iconPanel.x, layout.iconPanel.y);
    panelIcon->SetBorder(true);
    panelIcon->Create();

    icon = std::make_unique<MyImage>(panelIcon.get(), iconImage);
    icon->SetSize(iw, ih);
    icon->SetPosition(5, 5);
    icon->Create();

    auto makeLabel = [this](const std::string& value, const Area& area) {
        auto label = std::make_unique<CellControl>(this);
        label->SetSize(area.w, area.h);
        label->SetPosition(area.x, area.y);
        label->SetText(value);
        label->SetAlignment(kAlignLeft);
        return label;
    };
    labelName = makeLabel(nameText, layout.name);
    labelName->SetTextColor(kWhite);
    labelName->Create();

    labelCopyright = makeLabel(copyrightText, layout.copyright);
    labelCopyright->Create();

    linkWeb = makeLabel(webAddress, layout.webLink);
    linkWeb->SetTextColor(kLinkColor);
    linkWeb->SetMarkB(true);
    linkWeb->SetOnMouseDown(LinkPressed);
    linkWeb->Create();

    linkMail = makeLabel(GetMailAddress(), layout.mailLink);
    linkMail->SetTextColor(kLinkColor);
    linkMail->SetMarkB(true);
    linkMail->SetOnMouseDown(LinkPressed);
    linkMail->Create();

    labelLicence = makeLabel(licenceText, layout.licence);
    labelLicence->SetBorder(true);
    labelLicence->Create();

    buttonOk = std::make_unique<ButtonCustom>(this, "OK");
    buttonOk->SetSize(layout.ok.w, layout.ok.h);
    buttonOk->SetPosition(layout.ok.x, layout.ok.y);
    buttonOk->SetCommand(OkCommand);
    buttonOk->Create();
}

bool FormAbout::CanClose() {
    ReleaseOwner();
    return true;
}

bool FormAbout::FilterKey(int key) {
    if (key == kCharReturn || key == kCharEscape || key == kCharDelete) {
        OnButton(buttonOk.get());
        return false;
    }
    return true;
}

void FormAbout::OnButton(GUIElement* button) {
    // Enter on the focused OK button reaches here twice (the button's command, then the
    // form's key filter); the second finds the dialog closed already.
    if (button == nullptr || buttonOk == nullptr || button->GetId() != buttonOk->GetId() ||
        window == 0) {
        return;
    }
    if (CanClose()) {
        DestroyWindow();
        OnClosed();
    }
}

void FormAbout::OnLink(GUIElement* element) {
    if (element == nullptr) {
        return;
    }
    if (linkWeb != nullptr && element->GetId() == linkWeb->GetId()) {
        StartDetached("firefox", ShellQuote(webAddress));
    } else if (linkMail != nullptr && element->GetId() == linkMail->GetId()) {
        StartDetached("thunderbird", "-compose to=\"" + linkMail->GetText() + "\"");
    }
}
