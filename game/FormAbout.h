#pragma once

#include <memory>
#include <string>

#include "gui/core/Area.h"
#include "gui/core/Form.h"

class ButtonCustom;
class CellControl;
class MyImage;
class PanelChildren;

// The about dialog of the Info button: the logo in a framed panel, the product name and
// version, the copyright notice, the web and mail addresses as links, the licence notice and
// "OK". Its owner is disabled while it is open. The links start a browser and a mail composer
// in child processes that the dialog never waits for.
class FormAbout : public Form {
  public:
    static constexpr int kWidth = 600;
    static constexpr int kHeight = 210;

    // Where the dialog puts its parts in a client area of w x h with an icon iconWidth wide.
    struct Layout {
        Area iconPanel;
        Area name;
        Area copyright;
        Area webLink;
        Area mailLink;
        Area licence;
        Area ok;
    };
    static Layout LayOut(int w, int h, int iconWidth);

    explicit FormAbout(Form* owner);
    ~FormAbout() override;

    void Update() override;

    virtual void OnLoad();
    virtual bool CanClose();
    virtual bool FilterKey(int key);
    virtual void OnButton(GUIElement* button);
    virtual void OnLink(GUIElement* element);

    void SetIcon(XImage* image, unsigned int w, unsigned int h);
    void SetNameText(const std::string& value) { nameText = value; }
    void SetCopyright(const std::string& value) { copyrightText = value; }
    void SetLicence(const std::string& value) { licenceText = value; }
    void SetWebAddress(const std::string& value) { webAddress = value; }

    // The mail address that belongs to the web address: info@ and its domain.
    std::string GetMailAddress() const;
    CellControl* GetWebLink() const { return linkWeb.get(); }
    CellControl* GetMailLink() const { return linkMail.get(); }
    ButtonCustom* GetOkButton() const { return buttonOk.get(); }
    CellControl* GetLicenceLabel() const { return labelLicence.get(); }

  private:
    Form* owner;
    std::unique_ptr<MyImage> icon;
    std::unique_ptr<CellControl> labelName;
    std::unique_ptr<CellControl> labelCopyright;
    std::unique_ptr<PanelChildren> panelIcon;
    std::unique_ptr<CellControl> labelLicence;
    std::unique_ptr<ButtonCustom> buttonOk;
    std::unique_ptr<CellControl> linkWeb;
    std::unique_ptr<CellControl> linkMail;
    XImage* iconImage = nullptr;
    unsigned int iconWidth = 0;
    unsigned int iconHeight = 0;
    std::string nameText;
    std::string copyrightText;
    std::string licenceText;
    std::string webAddress;
};
