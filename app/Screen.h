#pragma once

#include <string>

#include "app/XlibHeaders.h"

// The one connection to the X server. Every window and every drawing call takes its display
// from a Screen; the first one constructed also becomes the process-wide current screen.
class Screen {
  public:
    explicit Screen(const char* title);
    ~Screen();

    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    void Open();
    bool Close();

    Display* GetDisplay() const { return display; }
    XVisualInfo* GetVisualInfo() const { return visualInfo; }
    int GetWidth() const { return width; }
    int GetHeight() const { return height; }
    int GetDepth() const { return depth; }
    int HasFailed() const { return openFailed; }
    // The name window managers show for the program and group its windows by (the class and
    // icon name of each window); the executable's own name until the program names itself.
    // Set it before the first form is shown.
    void SetProgramName(const std::string& name) { programName = name; }
    const std::string& GetProgramName() const { return programName; }

    int screenNumber = 0;

  private:
    Display* display = nullptr;
    XVisualInfo* visualInfo = nullptr;
    const char* title;
    std::string programName;
    int openFailed = 0;
    int width = 800;
    int height = 600;
    int depth = 8;
};

// The first Screen made, until it is destroyed; the next one made after that takes its place. A
// program that closes its screen and opens another (a test, a tool) must not read a freed one.
extern Screen* currentScreen;

int GetCurrentScreenWidth();
int GetCurrentScreenHeight();
