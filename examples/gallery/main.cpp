// The gallery: one window that shows every control of the toolkit in each of its states, to
// see and try them by hand. It runs like the game: one display connection, one form, and the
// toolkit's event loop until the window is closed.
#include <cstdlib>

#include "app/EventLoop.h"
#include "app/Screen.h"
#include "examples/gallery/GalleryForm.h"
#include "examples/gallery/GalleryLayout.h"

int main() {
    auto* screen = new Screen(Gallery::kTitle);
    if (screen->HasFailed()) {
        delete screen;
        return EXIT_FAILURE;
    }
    auto* window = new GalleryForm(screen);
    const bool quit = Run(window);
    delete window;
    const bool closed = screen->Close();
    delete screen;
    return quit && closed ? 0 : EXIT_FAILURE;
}
