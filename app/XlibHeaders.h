#pragma once

// Xlib names its per-screen description "Screen" and its font handle "Font", which are the
// names of this program's display connection and font record. Every file reaches Xlib through
// this header, so Xlib's types are seen as XScreen and XFont everywhere and the names never
// meet. Include it before any other X header.
#define Screen XScreen
#define Font XFont
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#undef Screen
#undef Font
