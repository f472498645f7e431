#pragma once

#include <string>

#include "app/XlibHeaders.h"
#include "support/TempFolder.h"
#include "tools/harness/RunningProgram.h"
#include "tools/harness/WaitUntil.h"
#include "tools/harness/WholeFile.h"

// An X server of a depth of the test's choosing, without a window manager, for what the
// shared 24-bit server cannot show. The server picks its own display number and writes it to
// its standard output; the server stops when the object goes.
class PrivateXvfb {
  public:
    explicit PrivateXvfb(int depth) {
        const std::string screen = "640x480x" + std::to_string(depth);
        if (!server.Start(
                {"Xvfb", "-displayfd", "1", "-screen", "0", screen, "-nolisten", "tcp", "-noreset"},
                {}, folder.Path(), folder.File("number"), folder.File("log"))) {
            return;
        }
        // The server announces its number a moment before it accepts connections. (-noreset
        // keeps it from resetting, and refusing connections for a moment, when the probe
        // disconnects.)
        WaitUntil(
            [&] {
                const std::string number = ReadWholeFile(folder.File("number"));
                if (number.empty() || number.back() != '\n') {
                    return false;
                }
                Display* probe = XOpenDisplay((":" + number.substr(0, number.size() - 1)).c_str());
                if (probe != nullptr) {
                    name = DisplayString(probe);
                    XCloseDisplay(probe);
                }
                return probe != nullptr;
            },
            10000);
    }
    // The display name, empty when the server did not come up.
    std::string name;

  private:
    TempFolder folder;
    RunningProgram server;
};
