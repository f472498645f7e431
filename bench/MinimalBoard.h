#pragma once

#include "gui/core/Area.h"

// The minimal client paints its board last with one yellow square, so that the square on the
// screen tells the benchmark that the whole board is there.
inline constexpr Area kMinimalMarkerArea{380, 10, 40, 40};
inline constexpr unsigned long kMinimalMarkerColor = 0xffff00;
