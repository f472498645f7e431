#pragma once

// Keys reach the elements as X keysyms, carried in this type so that no element needs the X
// headers. The keys the toolkit's controls react to are named here by their keysym values;
// the event loop, which translates the X events, checks that they agree with Xlib's.
using Key = unsigned long;

inline constexpr Key kKeyBackSpace = 0xff08;
inline constexpr Key kKeyTab = 0xff09;
inline constexpr Key kKeyReturn = 0xff0d;
inline constexpr Key kKeyEscape = 0xff1b;
inline constexpr Key kKeyHome = 0xff50;
inline constexpr Key kKeyLeft = 0xff51;
inline constexpr Key kKeyUp = 0xff52;
inline constexpr Key kKeyRight = 0xff53;
inline constexpr Key kKeyDown = 0xff54;
inline constexpr Key kKeyEnd = 0xff57;
inline constexpr Key kKeyDelete = 0xffff;

// Typed characters, as OnKeyChar receives them once a key is let go.
inline constexpr int kCharBackSpace = 8;
inline constexpr int kCharReturn = 13;
inline constexpr int kCharEscape = 27;
inline constexpr int kCharSpace = 32;
inline constexpr int kCharDelete = 127;
