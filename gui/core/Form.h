#pragma once

#include "gui/core/Area.h"
#include "gui/core/GUIElement.h"

class Screen;

// A top-level window, and the only element that owns an X window. Controls are drawn into
// the window of the form that contains them. Subclasses build their controls in the load
// hook, which runs once, during window creation, before the window is mapped.
class Form : public GUIElement {
  public:
    explicit Form(intptr_t ownerHandle);
    Form(intptr_t ownerHandle, bool isDialog);
    ~Form() override;

    int GetWidth() override;
    int GetRealWidth() override;
    int GetHeight() override;
    int GetRealHeight() override;
    int64_t GetPosition() override;
    void SetBackColor(int64_t color) override;
    void Show() override;
    void ShowMapped() override;
    void Hide() override;
    void SetFocus() override;
    void Paint() override;
    void SetMarkA(bool value) override;
    void Create() override;
    void NativeMove() override;
    void NativeResize() override;
    void NativeRaise() override;
    void NativeLower() override;
    void NativeAddChild(GUIElement* element) override;
    void NativeBackground() override;
    void NativeFontChanged() override;

    // Empty; they hold their places in the order of the virtual operations.
    virtual void Spare1();
    virtual void Spare2();
    virtual std::string GetTitle();
    virtual void SetTitle(const std::string& title);
    virtual std::string GetCaption();
    virtual void SetCaption(const std::string& caption);
    // Called once the window exists and the load hook has run, before it is mapped.
    virtual void OnWindowCreated();
    // Empty, like Spare1.
    virtual void Spare3();
    // The window-style switches, stored for the program; the toolkit reads none of them.
    virtual void SetStyleFlag2(bool value);
    virtual void SetStyleFlag3(bool value);
    virtual void SetStyleFlag4(bool value);
    virtual void DestroyWindow();
    virtual void OnMsgBoxResult(int code, int result);
    virtual bool IsDialog();
    virtual void SetIconPixmap(Pixmap pixmap);
    virtual void FitClientSize(int w, int h);
    virtual void SetClientSize(int w, int h, bool move);
    // Two more window-style switches, stored like SetStyleFlag2.
    virtual void SetStyleFlag5(bool value);
    virtual void SetStyleFlag1(bool value);
    virtual void SetModalChild(Form* form);
    virtual void SetGeometry(int newX, int newY, int w, int h);
    virtual void SetScreen(Screen* value);
    virtual Screen* GetScreen();
    virtual void CenterOnScreen();
    virtual void MakeVisible();
    virtual void OpenVisible();
    virtual Window GetWindow();
    // SetMarkB with true or false, once the window exists.
    virtual void SetMarkBOn();
    virtual void SetMarkBOff();
    // Returns once the server has carried out everything sent so far: work started next (a
    // child process, say) then no longer competes with the drawing for the processors.
    void WaitUntilDrawn();

    // Dialogs
    // Disables the owner while this dialog is open and makes this its modal child, so that a
    // click on the owner beeps and raises this dialog. Called before the dialog's window is
    // made: the window is then announced as the owner's modal dialog.
    void BlockOwner(Form* owner);
    // Gives the owner its input back, unless another of its dialogs is still open, which then
    // becomes its modal child instead.
    void ReleaseOwner();

    // Called by the event loop at each exposure. The first one after the window was made
    // shows it viewable and placed by the window manager: a dialog that keeps its owner
    // disabled then goes where it was asked to be if the manager put it elsewhere, and takes
    // the keyboard where the manager would not give it.
    void SettleOnScreen();

    Form* GetModalChild() const { return modalChild; }
    Atom GetDeleteWindowAtom() const { return wmDeleteWindow; }

  protected:
    Display* GetDisplay() const;

    Form* modalChild = nullptr;
    // The form this dialog keeps disabled, if any.
    Form* blockedOwner = nullptr;
    // Where the window was made, and whether its first exposure is still to come.
    Area placement;
    bool settling = false;
    Atom wmDeleteWindow = 0;
    Pixmap iconPixmap = 0;
    Screen* screen = nullptr;
    Window window = 0;
    // Window-style switches the program sets per window (the game's dialogs turn 1, 2 and 3
    // off, the about box turns 5 on); kept, never read.
    bool styleFlag1 = true;
    bool styleFlag2 = true;
    bool styleFlag3 = true;
    bool styleFlag4 = true;
    bool isDialog = false;
    bool styleFlag5 = false;

  private:
    void CreateWindow();
    void SetHints(Display* display);
    void SendWMHints(Display* display);
    void AnnounceOwnership(Display* display);
    bool IsOnScreen();
    bool HasKeyboard();
    // Whether the window manager brings a window to the front when asked for it.
    bool ManagerActivates();
    void Activate();
};

// The program's first form, whose font all text is drawn with; null before any form exists.
Form* FirstForm();
// That font; null without a form or a display, or when not even the fallback font loads.
XFontStruct* GetProgramFont(Display* display);
