#pragma once

// The product's own texts, shown in the window title and the about box.
inline constexpr const char* kProductName = "Brisgola";
inline constexpr const char* kProductVersion = "1.0.0.0";
inline constexpr const char* kCopyrightNotice = "Copyright (c) 2026 The Brisgola Authors";
inline constexpr const char* kWebAddress = "https://www.brisgola.org";
inline constexpr const char* kLicenceNotice =
    "Released under the MIT License: free to use, copy, modify and share. It comes with no "
    "warranty of any kind; see the LICENSE file for the full text.";

// The class and icon name of every game window: window managers group the game's windows by
// it, and the driver, the benchmark and the install tests find the game by it.
inline constexpr const char* kGameWindowClass = "Brisgola.exe";

// The words of the board that tell where a game stands: the start button's two captions and
// the status line once ten rounds are won.
inline constexpr const char* kStartCaption = "START";
inline constexpr const char* kCancelCaption = "CANCEL";
inline constexpr const char* kGameOverStatus = "Game over!";
