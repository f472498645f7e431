#pragma once

// The check-box and option-box marks, 20 x 20, compiled in from assets/controls/: the build
// exports each BMP as an image block (gui/graphics/ImageBlock.h) named after its file, with
// its width and height beside it. They are read-only.
extern "C" {

// Check boxes: a sunken square, white when enabled and grey when disabled.
extern const unsigned char imgCHECK_CHECKED[];
extern const int wCHECK_CHECKED;
extern const int hCHECK_CHECKED;
extern const unsigned char imgCHECK_CHECKED_DISABLED[];
extern const int wCHECK_CHECKED_DISABLED;
extern const int hCHECK_CHECKED_DISABLED;
extern const unsigned char imgCHECK_UNCHECKED[];
extern const int wCHECK_UNCHECKED;
extern const int hCHECK_UNCHECKED;
extern const unsigned char imgCHECK_UNCHECKED_DISABLED[];
extern const int wCHECK_UNCHECKED_DISABLED;
extern const int hCHECK_UNCHECKED_DISABLED;

// Option boxes: a sunken circle on black, which is transparent when they are drawn keyed.
extern const unsigned char imgOPTION_SELECTED[];
extern const int wOPTION_SELECTED;
extern const int hOPTION_SELECTED;
extern const unsigned char imgOPTION_SELECTED_DISABLED[];
extern const int wOPTION_SELECTED_DISABLED;
extern const int hOPTION_SELECTED_DISABLED;
extern const unsigned char imgOPTION_UNSELECTED[];
extern const int wOPTION_UNSELECTED;
extern const int hOPTION_UNSELECTED;
extern const unsigned char imgOPTION_UNSELECTED_DISABLED[];
extern const int wOPTION_UNSELECTED_DISABLED;
extern const int hOPTION_UNSELECTED_DISABLED;

} // extern "C"
