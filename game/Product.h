#pragma once

// The product's own texts, shown in the window title and the about box.
inline constexpr const char* kProductName = "Brisgola";
inline constexpr const char* kProductVersion = "1.0.0.0";
inline constexpr const char* kCopyrightNotice = "Copyright (c) 2026 The Brisgola Authors";
inline constexpr const char* kWebAddress = "https://www.brisgola.org";
inline constexpr const char* kLicenceNotice =
    "Released under the MIT License: free to use, copy, modify and share. It comes with no "
    "warranty of any kind; see the LICENSE file for the full text.";
