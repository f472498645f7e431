#pragma once

#include "gui/core/Area.h"

// Where the gallery window shows each control, and with what. The gallery lays itself out
// from these and its end-to-end test finds the controls by them, so a control is moved here
// and nowhere else. Sliders are given a size that their own rules then adjust.
namespace Gallery {

// The window
inline constexpr const char* kTitle = "Brisgola gallery";
inline constexpr int kWindowWidth = 800;
inline constexpr int kWindowHeight = 570;
inline constexpr unsigned long kBackground = 0xc0c8d0;

// Each group has a heading above it.
inline constexpr int kHeadingHeight = 20;

// Buttons: one of each state, the ones that open the dialogs, and one that disables and
// enables the first control of every group
inline constexpr Area kButtonsHeading{20, 10, 230, kHeadingHeight};
inline constexpr Area kEnabledButtonArea{20, 36, 110, 30};
inline constexpr Area kDisabledButtonArea{140, 36, 110, 30};
inline constexpr Area kPressedButtonArea{20, 74, 110, 30};
inline constexpr Area kMessageButtonArea{140, 74, 110, 30};
inline constexpr Area kScoreButtonArea{20, 112, 110, 30};
inline constexpr Area kToggleButtonArea{140, 112, 110, 30};

// Check boxes: unchecked and checked, enabled and disabled
inline constexpr Area kCheckHeading{280, 10, 230, kHeadingHeight};
inline constexpr Area kUncheckedArea{280, 36, 110, 26};
inline constexpr Area kCheckedArea{400, 36, 110, 26};
inline constexpr Area kDisabledUncheckedArea{280, 68, 110, 26};
inline constexpr Area kDisabledCheckedArea{400, 68, 110, 26};

// Option boxes: three hands to choose from, and a disabled pair with its second chosen
inline constexpr Area kOptionHeading{540, 10, 240, kHeadingHeight};
inline constexpr Area kHandOptionsArea{540, 36, 110, 78};
inline constexpr const char* kHandCaptions[] = {"Rock", "Paper", "Scissors"};
inline constexpr Area kLevelOptionsArea{660, 36, 120, 52};
inline constexpr const char* kLevelCaptions[] = {"Easy", "Hard"};
inline constexpr int kChosenLevel = 1;

// Text boxes, one per row with its label on the left
inline constexpr Area kTextHeading{20, 160, 240, kHeadingHeight};
inline constexpr int kTextRows = 5;
inline constexpr const char* kTextCaptions[kTextRows] = {"Plain", "Read-only", "Password", "Date",
                                                         "Disabled"};
inline constexpr int kPasswordRow = 2;
inline constexpr int kTextTop = 186;
inline constexpr int kTextRowHeight = 30;
inline constexpr Area kTextLabelColumn{20, kTextTop, 85, 24};
inline constexpr Area kTextBoxColumn{110, kTextTop, 150, 24};
inline constexpr Area TextRow(const Area& column, int row) {
    return {column.x, column.y + row * kTextRowHeight, column.w, column.h};
}

// Sliders and the progress bar the horizontal slider drives
inline constexpr Area kSliderHeading{290, 160, 270, kHeadingHeight};
inline constexpr Area kHorizontalSliderArea{290, 186, 155, 30};
inline constexpr int kHorizontalMinimum = 0;
inline constexpr int kHorizontalMaximum = 10;
inline constexpr int kHorizontalStart = 3;
inline constexpr Area kProgressArea{290, 232, 150, 25};
inline constexpr Area kDisabledSliderArea{290, 270, 130, 30};
inline constexpr int kDisabledMaximum = 4;
inline constexpr Area kVerticalSliderArea{480, 186, 30, 100};
inline constexpr int kVerticalMinimum = 1;
inline constexpr int kVerticalMaximum = 6;

// Pictures in a sunken panel: the logo, and a hand that changes every second
inline constexpr Area kPictureHeading{580, 160, 200, kHeadingHeight};
inline constexpr Area kPicturePanelArea{580, 186, 200, 170};
inline constexpr Area kLogoArea{598, 196, 163, 50};
inline constexpr Area kHandArea{645, 252, 70, 100};

// The high-score table, added to through the player-name form with a score of the horizontal
// slider's value times kScorePerStep
inline constexpr Area kScoresHeading{20, 350, 360, kHeadingHeight};
inline constexpr Area kScoresArea{20, 376, 360, 180};
inline constexpr unsigned long kScoresBackground = 0xffffff;
inline constexpr int kScorePerStep = 10;

// The dialogs the buttons open
inline constexpr const char* kQuestionTitle = "Question";
inline constexpr const char* kNameTitle = "High score";

// What the last thing done with a control was
inline constexpr Area kEventsHeading{400, 376, 380, kHeadingHeight};
inline constexpr Area kEventsArea{400, 402, 380, 40};
inline constexpr unsigned long kEventsBackground = 0xffffe0;

} // namespace Gallery
