#pragma once

#include <functional>

#include "app/XlibHeaders.h"

class Form;

// Runs the toolkit's dispatch from a test, without the loop: the events the server sends in
// a given time, or events built by hand when a test needs an exact sequence.

// Dispatches the events that arrive within the given time.
void PumpEvents(Form* mainForm, int milliseconds);
// Pumps events until the condition holds or the time is up.
bool PumpUntil(Form* mainForm, const std::function<bool()>& condition, int timeoutMs = 5000);
// Dispatches every event the server has sent so far: after real input made by another
// connection and synced there, exactly the events that input caused.
void DispatchPending(Form* mainForm);
// A key or button event for the window of the target form, dispatched at once.
void SendKey(Form* mainForm, Form* target, int type, KeySym key);
void SendButton(Form* mainForm, Form* target, int type, unsigned int button, int x, int y);
// A key pressed and released, and a click (of the left button unless another is named),
// dispatched at once.
void SendKeyTap(Form* mainForm, Form* target, KeySym key);
void SendClick(Form* mainForm, Form* target, int x, int y, unsigned int button = Button1);
