#pragma once

#include "app/XlibHeaders.h"

class Form;

// The one event loop and its dispatch of X events to forms and controls. True when it ended on
// a quit request; false when it could no longer wait for events (the reason is logged).
bool Run(Form* mainForm);
// Routes one X event as the loop does; tests feed events through it directly.
void DispatchEvent(Form* mainForm, XEvent& event);

// Timer expiries reach the loop through a self-pipe: the SIGALRM handler only calls
// RecordTimerExpiry, and the loop runs the expiry handler on its own thread.
bool PrepareTimerWakeup();
void RecordTimerExpiry();
void SetTimerExpiryHandler(void (*handler)());
// Clears a recorded expiry and answers whether there was one.
bool TakeTimerExpiry();
// Blocks until the X connection has data or a timer expiry is recorded; false when waiting
// failed for a reason other than a signal.
bool WaitForEventOrExpiry(Display* display);
