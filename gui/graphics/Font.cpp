#include "gui/graphics/Font.h"

#include "util/Log.h"

namespace {

std::shared_ptr<XFontStruct> QueryFont(Display* display, const char* name) {
    XFontStruct* loaded = XLoadQueryFont(display, name);
    if (loaded == nullptr) {
        return nullptr;
    }
    return std::shared_ptr<XFontStruct>(loaded,
                                        [display](XFontStruct* font) { XFreeFont(display, font); });
}

} // namespace

Font::Font() = default;

Font::Font(const std::string& family) : family(family) {}

Font::Font(const std::string& family, int size) : family(family), size(size) {}

int Font::GetFontSize() const {
    return isLoaded ? fontStruct->ascent : size;
}

std::string Font::BuildName() {
    std::string name = family.empty() ? "-*-*-" : "-" + family + "-";
    name += bold ? "Bold-R-" : "Medium-R-";
    name += italic ? "Italic--" : "Normal--";
    name += std::to_string(GetFontSize());
    name += "-*";
    xlfdName = name;
    return xlfdName;
}

void Font::LoadFont(Display* newDisplay) {
    if (isLoaded) {
        fontStruct.reset();
        isLoaded = false;
    }
    display = newDisplay;
    if (display == nullptr) {
        return;
    }
    fontStruct = QueryFont(display, BuildName().c_str());
    if (fontStruct == nullptr) {
        Log("XLoadQueryFont failed");
        fontStruct = QueryFont(display, kFallbackFontName);
    }
    isLoaded = fontStruct != nullptr;
}

XFontStruct* Font::GetXFont(Display* newDisplay) {
    if (fontStruct == nullptr) {
        LoadFont(newDisplay);
    }
    return fontStruct.get();
}
