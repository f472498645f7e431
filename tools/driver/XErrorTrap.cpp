#include "tools/driver/XErrorTrap.h"

namespace {

unsigned long errorsSeen = 0;

int CountError(Display*, XErrorEvent*) {
    ++errorsSeen;
    return 0;
}

} // namespace

XErrorTrap::XErrorTrap(Display* display) : display(display) {
    // Errors of requests made before the trap are not this trap's.
    XSync(display, False);
    errorsBefore = errorsSeen;
    previous = XSetErrorHandler(CountError);
}

XErrorTrap::~XErrorTrap() {
    XSync(display, False);
    XSetErrorHandler(previous);
}

bool XErrorTrap::Failed() {
    XSync(display, False);
    return errorsSeen != errorsBefore;
}

void XErrorTrap::CountAlways() {
    XSetErrorHandler(CountError);
}

unsigned long XErrorTrap::ErrorsSeen() {
    return errorsSeen;
}
