#pragma once

#include <string>

#include "app/XlibHeaders.h"

// The X server's vendor, release and depth and the window manager's own name, for the heading
// of the benchmark's table, so that figures are never read apart from what they ran on.
std::string DescribeServer(Display* display);
