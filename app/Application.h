#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "app/XlibHeaders.h"

class GUIElement;
class Form;

// The process-wide registry of elements. Elements register themselves from their
// constructors and unregister from their destructors; the lists do not own them. The event
// loop and the controls use the look-ups to route events and to find their form.
namespace Application {

// Process-wide state
extern std::vector<GUIElement*> allElements;
extern std::vector<GUIElement*> forms;
extern std::vector<GUIElement*> timers;
extern GUIElement* focusedElement;
extern bool quitRequested;
extern bool suspendPaint;
extern unsigned char keyDown[256];
extern uint32_t nextElementId;
// The X server's time of the player's latest key or button event, or of the window manager's
// latest close request; CurrentTime (0) before any. Windows opened or raised in answer to it
// carry it, so that window managers that guard the focus know the player asked for them.
extern Time userTime;
// The most recent message box; the event loop frees it when it ends.
extern std::unique_ptr<Form> currentMsgBox;
// Forms put out of use while one of their own handlers may still be running (a box replaced
// from its own answer); the loop frees them between events.
extern std::vector<std::unique_ptr<Form>> retiredForms;

// Registration
void RegisterElement(GUIElement* element);
void RegisterForm(GUIElement* element);
void RegisterTimer(GUIElement* element);
void UnregisterElement(GUIElement* element);
void RemoveWindow(std::vector<GUIElement*>& list, GUIElement* element);

// Keyboard focus: the only two ways it changes
// Gives the control the focus: the control that had it gets OnFocusOut, then the new one
// becomes focusedElement and gets OnFocusIn. Nothing happens when it has the focus already.
// True when the control still holds the focus afterwards; a handler may have moved it on or
// destroyed the control, which the caller must then no longer touch.
bool MoveFocus(GUIElement* element);
// Takes the focus away from whichever control has it, telling the control, so that it stops
// drawing itself focused.
void DropFocus();

// Lifetime of forms
// Closes the form's window now and frees the form once no handler can be using it.
void Retire(std::unique_ptr<Form> form);
void DestroyRetiredForms();

// Look-ups
Form* FindFormByWindow(Window window);
GUIElement* FindChildAt(uint32_t formId, int64_t point);
std::vector<GUIElement*> CollectChildren(uint32_t parentId);
Form* GetForm(GUIElement* control);
int64_t GetOffsetInForm(GUIElement* control, int x, int y);
GUIElement* FindElementById(uint32_t id);
Form* FindParentForm(GUIElement* element);
bool IsKeyDown(int code);
void DestroyFormWindows();

} // namespace Application
