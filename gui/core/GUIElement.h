#pragma once

#include <cstdint>
#include <string>

#include "gui/core/Keys.h"
#include "gui/graphics/Font.h"
#include "util/DateTime.h"

class GUIElement;

// The background of forms and controls that have no colour of their own.
inline constexpr int64_t kDefaultBackColor = 0xaaaaaa;
// What a disabled control draws its text and lines in.
inline constexpr long kDisabledColor = 0x9b9b9b;

// User hooks: plain functions that the game sets to react to events. Each receives the
// element first.
using LoadHook = void (*)(GUIElement* element, uint64_t tag);
using MouseHook = void (*)(GUIElement* element, uint64_t tag, int64_t point);
using KeyHook = void (*)(GUIElement* element, Key key);
using KeyCharHook = bool (*)(GUIElement* element, int character);
using NotifyHook = void (*)(GUIElement* element);
using ClosingHook = bool (*)(GUIElement* element);
using MouseMoveHook = void (*)(GUIElement* element, int x, int y);
using ExtraHook = void (*)(GUIElement* element, int64_t value);

// The root of every window, control and timer. Controls are not X windows: they are drawn
// into the window of their form, and the event loop calls the On... handlers below, each of
// which runs the matching hook. Geometry setters store first and reach the X server only
// once the element is created.
class GUIElement {
  public:
    explicit GUIElement(intptr_t ownerHandle);
    virtual ~GUIElement();

    GUIElement(const GUIElement&) = delete;
    GUIElement& operator=(const GUIElement&) = delete;

    // Geometry and appearance
    virtual int GetWidth();
    virtual int GetRealWidth();
    virtual int GetHeight();
    virtual int GetRealHeight();
    virtual int64_t GetPosition();
    virtual int64_t GetSize();
    virtual int64_t GetRealSize();
    virtual void SetSize(int w, int h);
    virtual void Move(int newX, int newY);
    virtual void SetPosition(int newX, int newY);
    virtual void MoveTo(int64_t point);
    virtual void SetBackColor(int64_t color);
    virtual int64_t GetBackColor();
    virtual void Show();
    virtual void ShowMapped();
    virtual void Hide();

    // State
    virtual bool IsVisible();
    virtual bool IsCreated();
    virtual void Refresh();
    virtual void SetEnabled(bool value);
    virtual bool IsEnabled();
    virtual void AddChild(GUIElement* element);
    virtual void BringToFront();
    virtual void Raise();
    virtual void SendToBack();

    // Texts and font
    virtual void SetName(const std::string& value);
    virtual std::string GetName();
    virtual void SetFont(const Font& value);
    virtual Font& GetFont();
    virtual bool IsTabStop();
    virtual bool IsAutoRedraw();
    virtual bool IsChild();
    virtual bool HitTest(int64_t point);
    virtual void SetText(const std::string& value);
    virtual std::string GetText();
    virtual std::string GetCurrentText();

    // Event handlers
    virtual void OnClick(int64_t point);
    virtual void OnMouseDown(int64_t point);
    virtual void OnDoubleClick(int64_t point);
    virtual void OnOtherButtonUp(int64_t point);
    virtual void OnOtherButtonDown(int64_t point);
    // Runs the onMouseExtra hook; the loop never calls it, it is there for the program's use.
    virtual void OnMouseExtra(int64_t point);
    virtual void OnKeyUp(Key key);
    virtual void OnKeyDown(Key key);
    virtual bool OnKeyChar(int character);
    virtual void OnMouseMove(int mouseX, int mouseY);
    // Run the onExtra1 and onExtra2 hooks with the caller's value; the toolkit never calls
    // them, they are there for the program's own events.
    virtual void OnExtra1(int64_t value);
    virtual void OnExtra2(int64_t value);
    virtual void SetFocus();
    virtual void OnMove();
    virtual void OnResize();
    virtual void Paint();
    // Makes ready what the first paint needs while the window manager is still mapping the
    // form (pictures converted and sent to the server), so that the paint after the first
    // Expose only draws.
    virtual void PreparePaint();
    virtual bool OnClosing();
    virtual void OnClosed();
    virtual void OnFocusIn();
    virtual void OnFocusOut();
    virtual void OnMouseEnter();
    virtual void OnMouseLeave();
    virtual void Load(uint64_t value);
    virtual void UpdateBackground();
    // Two marks, never both set. Mark A: a dialog this form opened is open over it. Mark B:
    // the program's tag for the controls the player clicks; the toolkit reads neither.
    virtual bool HasMarkA();
    virtual bool HasMarkB();
    // Setting one mark clears the other.
    virtual void SetMarkA(bool value);
    virtual void SetMarkB(bool value);
    virtual void Update();
    // The tag itself, for callers that keep their own value in it.
    virtual uint64_t& GetTagRef();
    virtual void Create() = 0;

    // Native hooks, filled in by Form with X window calls
    virtual void NativeMove();
    virtual void NativeResize();
    virtual void NativeBackground();
    virtual void NativeRaise();
    virtual void NativeLower();
    virtual void NativeAddChild(GUIElement* element);
    virtual void NativeFontChanged();

    std::string GetKind() const { return kind; }
    uint32_t GetId() const { return id; }
    GUIElement* GetParent() const { return parent; }
    intptr_t GetOwnerHandle() const { return ownerHandle; }
    bool IsClosed() const { return closed; }
    bool HasFocus() const { return hasFocus; }
    uint64_t GetTag() const { return tag; }
    void AssignId();

    void SetOnLoad(LoadHook hook) { onLoad = hook; }
    void SetOnClick(MouseHook hook) { onClick = hook; }
    void SetOnMouseDown(MouseHook hook) { onMouseDown = hook; }
    void SetOnDoubleClick(MouseHook hook) { onDoubleClick = hook; }
    void SetOnOtherButtonUp(MouseHook hook) { onOtherButtonUp = hook; }
    void SetOnOtherButtonDown(MouseHook hook) { onOtherButtonDown = hook; }
    void SetOnMouseExtra(MouseHook hook) { onMouseExtra = hook; }
    void SetOnKeyUp(KeyHook hook) { onKeyUp = hook; }
    void SetOnKeyDown(KeyHook hook) { onKeyDown = hook; }
    void SetOnKeyChar(KeyCharHook hook) { onKeyChar = hook; }
    void SetOnMove(NotifyHook hook) { onMove = hook; }
    void SetOnResize(NotifyHook hook) { onResize = hook; }
    void SetOnClosing(ClosingHook hook) { onClosing = hook; }
    void SetOnClosed(NotifyHook hook) { onClosed = hook; }
    void SetOnFocusIn(NotifyHook hook) { onFocusIn = hook; }
    void SetOnFocusOut(NotifyHook hook) { onFocusOut = hook; }
    void SetOnMouseEnter(NotifyHook hook) { onMouseEnter = hook; }
    void SetOnMouseLeave(NotifyHook hook) { onMouseLeave = hook; }
    void SetOnChange(NotifyHook hook) { onChange = hook; }
    void SetOnMouseMove(MouseMoveHook hook) { onMouseMove = hook; }
    void SetOnExtra1(ExtraHook hook) { onExtra1 = hook; }
    void SetOnExtra2(ExtraHook hook) { onExtra2 = hook; }

  protected:
    // Draws the next id for an element that has none, leaving the tag as it is.
    void AssignIdKeepingTag();

    std::string kind;
    bool isChild = false;
    bool tabStop = true;
    bool autoRedraw = false;
    bool visible = false;
    bool closed = false;
    bool markA = false;
    bool markB = false;
    // The program's value for the element, handed to the mouse and load hooks; becomes the id
    // at creation.
    uint64_t tag = 0;
    // An opaque value given at construction and handed on to dialogs; the toolkit never reads
    // it (the game passes 0).
    intptr_t ownerHandle;
    Font font;
    int width = 100;
    int height = 50;
    int x = 100;
    int y = 100;
    bool created = false;
    int64_t backColor = -1;
    bool enabled = true;
    uint32_t id = 0;
    std::string name;
    std::string text;
    // The text when the focus came, so that losing it can tell whether the text changed.
    std::string savedText;
    GUIElement* parent = nullptr;
    LoadHook onLoad = nullptr;
    bool loaded = false;
    MouseHook onClick = nullptr;
    MouseHook onMouseDown = nullptr;
    MouseHook onDoubleClick = nullptr;
    MouseHook onOtherButtonUp = nullptr;
    MouseHook onOtherButtonDown = nullptr;
    MouseHook onMouseExtra = nullptr;
    KeyHook onKeyUp = nullptr;
    KeyHook onKeyDown = nullptr;
    KeyCharHook onKeyChar = nullptr;
    NotifyHook onMove = nullptr;
    NotifyHook onResize = nullptr;
    ClosingHook onClosing = nullptr;
    NotifyHook onClosed = nullptr;
    NotifyHook onFocusIn = nullptr;
    NotifyHook onFocusOut = nullptr;
    NotifyHook onMouseEnter = nullptr;
    NotifyHook onMouseLeave = nullptr;
    NotifyHook onChange = nullptr;
    MouseMoveHook onMouseMove = nullptr;
    ExtraHook onExtra1 = nullptr;
    ExtraHook onExtra2 = nullptr;
    bool hasFocus = false;
    DateTime lastClickTime;
};
