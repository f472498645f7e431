#pragma once

#include "gui/core/Area.h"

// Where the game window shows what, and in which colours. The game lays its window out from
// these, and the driver that plays it from outside, the benchmark's bare-Xlib floor and the
// tests read the board from them, so the board is changed here and nowhere else.

// The window
inline constexpr int kWindowWidth = 800;
inline constexpr int kWindowHeight = 600;
inline constexpr unsigned long kBoardColor = 0x000000;

// The logo and the buttons of the top row
inline constexpr Area kLogoArea{28, 22, 163, 50};
inline constexpr Area kStartButtonArea{432, 30, 100, 28};
inline constexpr Area kInfoButtonArea{552, 30, 100, 28};
inline constexpr Area kExitButtonArea{672, 30, 100, 28};
inline constexpr unsigned long kButtonFaceColor = 0xfffde5;
inline constexpr unsigned long kButtonTextColor = 0x000000;
inline constexpr unsigned long kStartFaceColor = 0xff0000;
inline constexpr unsigned long kStartCaptionColor = 0xffff00;

// The score line (left-aligned, under START) and the status line (centred)
inline constexpr Area kScoreLineArea{432, 65, 160, 18};
inline constexpr Area kStatusLineArea{250, 85, 300, 18};
inline constexpr unsigned long kLineTextColor = 0xffffff;

// The dark-red frame around the hands: two horizontal bars and two side bars, centred in the
// window. The bottom bar is painted last and covers the lowest rows of the side bars.
inline constexpr int kFrameWidth = 519;
inline constexpr int kFrameBarHeight = 16;
inline constexpr int kFrameSideWidth = 19;
inline constexpr int kFrameSideHeight = 203;
inline constexpr int kFrameHeight = kFrameBarHeight + kFrameSideHeight;
inline constexpr int kFrameLeft = (kWindowWidth - kFrameWidth) / 2;
inline constexpr int kFrameTop = 150;
inline constexpr Area kBarTopArea{kFrameLeft, kFrameTop, kFrameWidth, kFrameBarHeight};
inline constexpr Area kBarLeftArea{kFrameLeft, kFrameTop + kFrameBarHeight, kFrameSideWidth,
                                   kFrameSideHeight};
inline constexpr Area kBarRightArea{kFrameLeft + kFrameWidth - kFrameSideWidth,
                                    kFrameTop + kFrameBarHeight, kFrameSideWidth, kFrameSideHeight};
inline constexpr Area kBarBottomArea{kFrameLeft, kFrameTop + kFrameHeight - kFrameBarHeight,
                                     kFrameWidth, kFrameBarHeight};

// Inside the frame, on one row: the computer's hand, the round's picture (title, countdown,
// result) in the middle of the window, and the player's hand.
inline constexpr int kHandWidth = 70;
inline constexpr int kHandHeight = 100;
inline constexpr int kResultWidth = 133;
// How far each hand's far edge stands in from the frame's side bar.
inline constexpr int kHandReach = 112;
// The player's hand leaves a little more room to its right than the computer's to its left.
inline constexpr int kPlayerHandShift = 10;
inline constexpr int kHandRowTop = kFrameTop + (kFrameHeight - kHandHeight) / 2;
inline constexpr Area kComputerHandArea{kFrameLeft + kFrameSideWidth + kHandReach - kHandWidth,
                                        kHandRowTop, kHandWidth, kHandHeight};
inline constexpr Area kPlayerHandArea{kFrameLeft + kFrameWidth - kFrameSideWidth - kHandReach -
                                          kPlayerHandShift,
                                      kHandRowTop, kHandWidth, kHandHeight};
inline constexpr Area kResultArea{(kWindowWidth - kResultWidth) / 2, kHandRowTop, kResultWidth,
                                  kHandHeight};

// The three hands the player picks from, below the frame: paper, rock, scissors. The row is
// centred as three places 100 wide with 20 between them, each hand at the left of its place.
inline constexpr int kChoicePlaceWidth = 100;
inline constexpr int kChoiceGap = 20;
inline constexpr int kChoiceStep = kChoicePlaceWidth + kChoiceGap;
inline constexpr int kChoiceLeft = (kWindowWidth - (3 * kChoicePlaceWidth + 2 * kChoiceGap)) / 2;
inline constexpr int kChoiceTop = 469;
// Indexed by the hand each one picks.
inline constexpr Area kChoiceAreas[3] = {
    {kChoiceLeft, kChoiceTop, kHandWidth, kHandHeight},
    {kChoiceLeft + kChoiceStep, kChoiceTop, kHandWidth, kHandHeight},
    {kChoiceLeft + 2 * kChoiceStep, kChoiceTop, kHandWidth, kHandHeight},
};
// The row the three hands span, gaps included.
inline constexpr Area kChoiceRowArea{kChoiceLeft, kChoiceTop, 2 * kChoiceStep + kHandWidth,
                                     kHandHeight};
