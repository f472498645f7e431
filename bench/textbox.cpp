// A toolkit program for the benchmark's typing figures: one window holding one multi-line text
// box, filled with the number of characters given and holding the focus. It answers keys as
// any toolkit program does. On start it prints where the next character typed will appear
// ("cell x y w h", window coordinates), and after every key released the X requests the
// toolkit sent for that key ("requests N"), so the benchmark sees both the time and the
// traffic of one keystroke. The window manager's close request ends it.
//   brisgola-textbox CHARACTERS
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/Application.h"
#include "app/EventLoop.h"
#include "app/Screen.h"
#include "game/Product.h"
#include "gui/controls/TextBoxCustom.h"
#include "gui/core/Form.h"

namespace {

const int kMaxCharacters = 1600;
Display* display = nullptr;
unsigned long lastRequest = 0;

void PrintRequests(GUIElement*, Key) {
    const unsigned long now = NextRequest(display);
    std::printf("requests %lu\n", now - lastRequest);
    std::fflush(stdout);
    lastRequest = now;
}

bool Quit(GUIElement*) {
    Application::quitRequested = true;
    return false;
}

} // namespace

int main(int argc, char** argv) {
    char* end = nullptr;
    const long characters = argc == 2 ? std::strtol(argv[1], &end, 10) : -1;
    if (argc != 2 || *end != '\0' || characters < 0 || characters >= kMaxCharacters) {
        std::fprintf(stderr, "usage: brisgola-textbox CHARACTERS (0 to %d)\n", kMaxCharacters - 1);
        return 2;
    }
    Screen screen("Brisgola text box");
    if (screen.HasFailed()) {
        return 1;
    }
    // The benchmark waits for its windows by the game's class, this one's too.
    screen.SetProgramName(kGameWindowClass);
    display = screen.GetDisplay();
    Form form(0);
    form.SetScreen(&screen);
    form.SetSize(800, 600);
    form.SetTitle("Brisgola text box");
    form.SetOnClosing(Quit);
    form.Show();

    TextBoxCustom box(&form);
    box.SetMultiLine(true);
    box.SetMaxLength(kMaxCharacters);
    box.SetPosition(10, 10);
    box.SetSize(780, 580);
    box.SetOnKeyUp(PrintRequests);
    std::string text;
    for (long i = 0; i < characters; ++i) {
        text += static_cast<char>('a' + i % 26);
    }
    box.Show();
    box.SetText(text);
    box.SetFocus();
    const int columns = box.Columns();
    const Area next = box.CellArea(static_cast<int>(characters) / columns,
                                   static_cast<int>(characters) % columns);
    std::printf("cell %d %d %d %d\n", next.x, next.y, next.w, next.h);
    std::fflush(stdout);
    lastRequest = NextRequest(display);

    Run(&form);
    return 0;
}
